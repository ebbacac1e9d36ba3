// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Identity of a file on disk, to recognise it again later (at undo time,
// possibly in another process or after the drive was mounted again).
//
// An observation records the device and inode, the birth time where the
// file system reports one, the modification time and the size, all of the
// directory entry itself (a symbolic link is not followed). Where inode
// numbers do not last (FUSE, FAT, exFAT: files are numbered afresh at every
// mount, numbers are reused at once, and fusefat stamps a new modification
// time some seconds after a rename) it also records a fingerprint of the
// content: a 64-bit hash of the first and the last 4 KiB. Two observations
// are the same file when:
//  1. their birth times are equal, where both have one;
//  2. their devices and inodes are equal, where both were made on a file
//     system whose inode numbers last;
//  3. their sizes and fingerprints are equal, where both have a fingerprint;
//  4. where either lacks a fingerprint and either lacks a birth time, their
//     modification times and sizes are equal.
// The change time is not used: a rename changes it.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/byte_file.h"

namespace varnel {

class DirHandle;

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
    bool has_fingerprint = false;
    std::uint64_t fingerprint = 0;  // hash of the first and last 4 KiB
    friend bool operator==(const FileId&, const FileId&) = default;
};

// Which part of two observations told them apart, by the rule above.
enum class FileMismatch : unsigned char { none, birth, inode, size, content, mtime };

// The first rule above that `now` fails; none when it is the recorded file.
[[nodiscard]] FileMismatch compare_files(const FileId& recorded, const FileId& now);

// True when `recorded` and `now` are the same file by the rule above.
[[nodiscard]] bool is_same_file(const FileId& recorded, const FileId& now);

// What told the files apart, as the end of a sentence in the language of
// platform/language.h (code page), such as "its content differs"; empty
// for none.
[[nodiscard]] std::string mismatch_text(FileMismatch mismatch);

// True when the file system of the open folder `dir_fd` keeps inode
// numbers across mounts.
[[nodiscard]] bool inode_numbers_last(int dir_fd);

// True when the file system of the open folder `dir_fd` is known to swap two
// names atomically (renameat2 RENAME_EXCHANGE): ext2/3/4, tmpfs, btrfs, xfs,
// f2fs. False for everything else, FUSE included.
[[nodiscard]] bool can_exchange_names(int dir_fd);

// The identity of entry `name` in the open folder `dir_fd`; nullopt when it
// does not exist or cannot be examined. `lasting_inodes` is what
// inode_numbers_last said of the folder; where it is false a regular file's
// fingerprint is taken too (the file is opened and up to 8 KiB read).
[[nodiscard]] std::optional<FileId> file_id_at(int dir_fd, const std::string& name,
                                               bool lasting_inodes = true);

// The identity of the open file `fd`, with what inode_numbers_last says
// of its file system.
[[nodiscard]] std::optional<FileId> file_id_of(int fd);
[[nodiscard]] Result<FileId> file_id_of(const ByteFile& file);

// The same for the open folder `dir`, with what it says of its inodes; the
// failure's errno value when the entry cannot be examined.
[[nodiscard]] Result<FileId> file_id_at(const DirHandle& dir, const std::string& name);
[[nodiscard]] bool can_exchange_names(const DirHandle& dir);

}  // namespace varnel
