// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pieces of adding files that do not need a window: the remembered
// folder in dir.txt, splitting paths, sorting dropped paths into files and
// folders, and the filter list of the add-files dialog.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"

namespace varnel {

// The first line of dir.txt at `path` (up to the first LF, NUL or 0x1A byte,
// a CR before the line end dropped): the folder of the last add-files
// choice, a code-page text. The file is created empty when missing (never
// through a symbolic link: a dangling link is left alone). nullopt when it
// cannot be opened or created (the caller then leaves it alone).
[[nodiscard]] std::optional<std::string> read_last_folder(const std::string& path);

// Replaces dir.txt by `folder` followed by CR LF, atomically; a symbolic
// link there is replaced, its target never written.
[[nodiscard]] WriteResult write_last_folder(const std::string& path, std::string_view folder);

// The folder of a path, up to and including its last '/', and its last
// component. A path without '/' has an empty folder.
[[nodiscard]] std::string folder_of_path(std::string_view path);
[[nodiscard]] std::string name_of_path(std::string_view path);

// Dropped paths sorted in drop order: those that name an existing file that
// is not a folder, and all others (folders, and paths that do not exist,
// which are treated as folders).
struct DroppedPaths {
    std::vector<std::string> files;
    std::vector<std::string> folders;
};
[[nodiscard]] DroppedPaths sort_dropped_paths(const std::vector<std::string>& paths);

// The local paths of a dropped text/uri-list: one URI a line (CR LF or LF),
// lines starting with '#' are comments. Only file: URIs whose host is empty
// or "localhost" count; their path is percent-decoded to bytes, so a name in
// any encoding arrives byte for byte. A trailing '/' is dropped (the root
// stays "/"). Other lines are skipped.
[[nodiscard]] std::vector<std::string> paths_from_uri_list(std::string_view list);

// Paths grouped into runs of consecutive paths that share a folder, in
// the given order: each file keeps the folder it was dropped from.
struct FolderRun {
    std::string folder;  // up to and including the last '/'
    std::vector<std::string> names;
};
[[nodiscard]] std::vector<FolderRun> runs_by_folder(const std::vector<std::string>& paths);

// Whether the chooser's answer fits the 8192-byte answer buffer of the
// add-files dialog: one path and its NUL, or the folder and every name, each
// with its NUL, and a final NUL. A choice that does not fit counts as
// cancelled.
inline constexpr std::size_t chooser_buffer_size = 8192;
[[nodiscard]] bool fits_chooser_buffer(const std::vector<std::string>& paths);

// One entry of a filter list "caption|patterns|caption|patterns...";
// patterns are separated by ';', and "*.*" means every file, as "*".
struct FileFilter {
    std::string caption;
    std::vector<std::string> patterns;
};
[[nodiscard]] std::vector<FileFilter> parse_filter_list(std::string_view list);

}  // namespace varnel
