// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Identity of a file on disk, to recognise it again later (at undo time,
// possibly in another process or after the drive was mounted again).
//
// An observation records the device and inode, the birth time where the
// file system reports one, the modification time and the size, all of the
// directory entry itself (a symbolic link is not followed). Two
// observations are the same file when:
//  1. their birth times are equal, where both have one;
//  2. their devices and inodes are equal, where both were made on a file
//     system whose inode numbers last (not FUSE, FAT or exFAT, which number
//     files afresh at every mount);
//  3. their modification times and sizes are equal, where either lacks a
//     birth time.
// The change time is not used: a rename changes it.

#include <cstdint>
#include <optional>
#include <string>

namespace varnel {

struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t birth_sec = 0;
    std::uint32_t birth_nsec = 0;
    bool has_birth = false;
    bool lasting_inode = true;  // inode numbers survive a remount
    std::int64_t mtime_sec = 0;
    std::uint32_t mtime_nsec = 0;
    std::uint64_t size = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

// True when `recorded` and `now` are the same file by the rule above.
bool is_same_file(const FileId& recorded, const FileId& now);

// True when the file system of the open folder `dir_fd` keeps inode
// numbers across mounts.
bool inode_numbers_last(int dir_fd);

// The identity of entry `name` in the open folder `dir_fd`; nullopt when it
// does not exist or cannot be examined. `lasting_inodes` is what
// inode_numbers_last said of the folder.
std::optional<FileId> file_id_at(int dir_fd, const std::string& name, bool lasting_inodes = true);

}  // namespace varnel
