// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading one folder of a tree that is walked folder by folder: its files
// and its subfolders from a single listing, each subfolder opened through
// its parent's descriptor.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/unique_fd.h"

namespace varnel {

struct FolderContents;

// An open folder of a walk (its descriptor), closed when it goes away.
class WalkFolder {
public:
    // Opens the chosen folder `path` (file-system bytes, with or without a
    // trailing '/'); a symbolic link naming it is followed. On failure the
    // folder is not open() and `error` holds the errno.
    [[nodiscard]] static WalkFolder open_root(const std::string& path, int& error);
    // Opens the subfolder `name` (one entry name) of this folder, relative
    // to this folder's descriptor and never through a symbolic link: an
    // entry that is (or was swapped for) a link fails with ELOOP or
    // ENOTDIR, one that is no folder with ENOTDIR. So no component of the
    // path can lead the walk elsewhere, whatever another process renames
    // meanwhile. Each open folder holds a descriptor; EMFILE when the
    // process has none left.
    [[nodiscard]] WalkFolder open_subfolder(const std::string& name, int& error) const;

    [[nodiscard]] bool open() const { return fd_.valid(); }

private:
    explicit WalkFolder(int fd) : fd_(fd) {}
    friend FolderContents read_folder_contents(const WalkFolder& folder);
    UniqueFd fd_;
};

// What one listing of a folder found.
struct FolderContents {
    // 0 when the folder was read; otherwise the errno of the failure to open
    // or read it, and every other member is empty.
    int error = 0;
    // The folder's own identity (st_dev, st_ino), so that a walk notices a
    // folder it meets a second time (a bind mount of an ancestor).
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    // Names (file-system bytes, exactly as stored), in the order the file
    // system reports them; "." and ".." never appear; hidden names do.
    //  files: every entry that is neither a directory nor a symbolic link to
    //    one (regular files, links to files, dangling links, devices, pipes,
    //    sockets): the same names list_folder_files gives.
    //  subfolders: real directories only. A symbolic link to a directory is
    //    in neither list: a walk never follows it, so a loop of links cannot
    //    hold it up or repeat files.
    std::vector<std::string> files;
    std::vector<std::string> subfolders;
};

// Lists the open `folder` once. d_type answers for most entries; an entry
// of unknown type costs one lstat, a symbolic link one stat.
[[nodiscard]] FolderContents read_folder_contents(const WalkFolder& folder);

}  // namespace varnel
