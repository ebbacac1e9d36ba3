// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Enumerating the files of one folder.

#include <optional>
#include <string>
#include <vector>

namespace varnel {

// The names (file-system bytes, exactly as stored) of every entry of
// `folder` that is not a directory: regular files, hidden files, symbolic
// links to anything but a directory, devices, sockets. No recursion; "." and
// ".." are never listed. Order: as the file system reports it. Names that
// are not valid UTF-8 are listed like any other. nullopt when the folder
// cannot be opened or read.
[[nodiscard]] std::optional<std::vector<std::string>> list_folder_files(const std::string& folder);

// The files of `folder` as list_folder_files gives them, and the name of
// every entry (directories included) as read_folder_names lists them, from
// one reading of the folder. nullopt when it cannot be opened or read.
struct FilesAndNames {
    std::vector<std::string> files;
    std::vector<std::string> names;
};
std::optional<FilesAndNames> list_files_and_names(const std::string& folder);

// One entry of a folder: its name (file-system bytes) and whether it is a
// directory or a symbolic link to one.
struct FolderEntry {
    std::string name;
    bool is_folder = false;
};

// Every entry of `folder` but "." and "..", hidden ones included, in the
// order the file system reports them. nullopt when the folder cannot be
// opened or read.
[[nodiscard]] std::optional<std::vector<FolderEntry>> list_folder_entries(
    const std::string& folder);

// What `path` names, following symbolic links: nothing reachable, a
// directory, or anything else (a file, a device, …).
enum class PathKind { missing, folder, other };
[[nodiscard]] PathKind path_kind(const std::string& path);

// True when `path` names a directory (or a symbolic link to one).
[[nodiscard]] bool is_folder(const std::string& path);

}  // namespace varnel
