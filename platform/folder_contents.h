// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading one folder of a tree that is walked folder by folder: its files
// and its subfolders from a single listing.

#include <cstdint>
#include <string>
#include <vector>

namespace varnel {

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

// Lists `folder` (file-system bytes, with or without a trailing '/') once.
// With `follow_link` false the folder itself must not be a symbolic link
// (error ENOTDIR then, as O_DIRECTORY with O_NOFOLLOW gives it), which
// keeps a walk off a folder that was swapped for a link after its parent
// was listed. d_type answers for most
// entries; an entry of unknown type costs one lstat, a symbolic link one
// stat.
FolderContents read_folder_contents(const std::string& folder, bool follow_link);

}  // namespace varnel
