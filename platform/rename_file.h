// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Renaming a file within its folder without ever replacing another file.

#include <string>
#include <string_view>

namespace varnel {

// The system calls the rename uses, replaceable so that tests can act out
// file systems without RENAME_NOREPLACE or without hard links.
struct RenameCalls {
    int (*renameat2)(int olddirfd, const char* oldpath, int newdirfd, const char* newpath,
                     unsigned int flags);
    int (*renameat)(int olddirfd, const char* oldpath, int newdirfd, const char* newpath);
    int (*linkat)(int olddirfd, const char* oldpath, int newdirfd, const char* newpath, int flags);
    int (*unlinkat)(int dirfd, const char* pathname, int flags);
};

// The real system calls.
const RenameCalls& system_rename_calls();

// True when `name` may name an entry of a folder: not empty, not "." or
// "..", no '/' and no NUL byte, at most 255 bytes (the name limit of Linux
// file systems).
bool is_valid_entry_name(std::string_view name);

// Renames entry `from` of the open folder `dir_fd` to `to` in the same
// folder. Never replaces an existing entry and never moves the file into
// another folder. Returns 0 on success, otherwise an errno value:
//   EINVAL        `to` or `from` is not a valid entry name (nothing touched);
//   EEXIST        `to` exists and is another file;
//   ENOENT        `from` does not exist; any other errno from the calls.
// `from` equal to `to` succeeds without a call when the entry exists.
// A case-only rename on a case-insensitive file system (`to` resolves to
// `from` itself: the same inode, or, where each spelling gets its own inode
// number as on FUSE, names equal but for ASCII case with no entry spelled
// exactly `to`) goes through a unique temporary name in two steps. Where
// the file system lacks RENAME_NOREPLACE the rename falls back to link +
// unlink, and where hard links are refused too, to reserving `to` with an
// exclusive create and renaming over that reservation (removed again if
// the rename fails), so cooperating processes never replace each other's
// files.
int rename_no_replace(int dir_fd, const std::string& from, const std::string& to,
                      const RenameCalls& calls = system_rename_calls());

}  // namespace varnel
