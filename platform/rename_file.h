// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Renaming a file within its folder without ever replacing another file.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

class DirHandle;

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
[[nodiscard]] const RenameCalls& system_rename_calls();

// True when `name` may name an entry of a folder: not empty, not "." or
// "..", no '/' and no NUL byte, at most 255 bytes (the name limit of Linux
// file systems).
[[nodiscard]] bool is_valid_entry_name(std::string_view name);

// Whether each open folder of a batch folds ASCII letter case, as far as a
// rename that failed with EEXIST has had to find out: the folder is listed
// for that at most once, however many renames in it fail. Keyed by the
// folder's descriptor, so one memo serves the folders that stay open for
// one batch.
class CaseFoldingMemo {
public:
    // nullopt until set for `dir_fd`.
    [[nodiscard]] std::optional<bool> folds(int dir_fd) const;
    void set(int dir_fd, bool folds);

private:
    std::vector<signed char> by_fd_;  // -1 unknown, 0 keeps case, 1 folds
};

// Renames entry `from` of the open folder `dir_fd` to `to` in the same
// folder. Never replaces an existing entry and never moves the file into
// another folder. Returns 0 on success, otherwise an errno value:
//   EINVAL        `to` or `from` is not a valid entry name (nothing touched);
//   EEXIST        `to` exists and is another file;
//   ENOENT        `from` does not exist; any other errno from the calls.
// `from` equal to `to` succeeds without a call when the entry exists.
// A case-only rename on a case-insensitive file system (`to` resolves to
// `from` itself: the same inode, or, where each spelling gets its own inode
// number as on FUSE, names of one length equal but for ASCII case and for
// their non-ASCII bytes, with no entry spelled exactly `to`) goes through a
// unique temporary name in two steps; when `to` refuses the file once it
// has left `from`, it was another file, and the file goes back. Where
// the file system lacks RENAME_NOREPLACE the rename falls back to link +
// unlink, and where hard links are refused too, to reserving `to` with an
// exclusive create and renaming over that reservation (removed again if
// the rename fails), so cooperating processes never replace each other's
// files. Whether the folder folds case is read from `memo` where it knows,
// and stored there when a listing had to find it out.
//
// `claim`, where given, is told every name the rename is about to create
// on its way (the reservation of `to`, or a temporary name) before it is
// created; a nonzero errno value it returns ends the rename with that error
// before the name is created. A rename cut short (the process killed) can
// leave the file under such a temporary name, or an empty reservation.
using ClaimNote = std::function<int(const std::string& name)>;
[[nodiscard]] int rename_no_replace(int dir_fd, const std::string& from, const std::string& to,
                                    const RenameCalls& calls = system_rename_calls(),
                                    const ClaimNote* claim = nullptr);
[[nodiscard]] int rename_no_replace(int dir_fd, const std::string& from, const std::string& to,
                                    CaseFoldingMemo& memo,
                                    const RenameCalls& calls = system_rename_calls(),
                                    const ClaimNote* claim = nullptr);

// Swaps the names `a` and `b` of two entries of the open folder `dir_fd`
// in one atomic step (renameat2 RENAME_EXCHANGE): no moment exists where
// either name is free. 0, or an errno value (EINVAL for names that are not
// valid entry names, and where the file system cannot swap names; ENOENT
// when either is missing); nothing is touched on failure.
[[nodiscard]] int exchange_names(int dir_fd, const std::string& a, const std::string& b,
                                 const RenameCalls& calls = system_rename_calls());

// Removes entry `name` of the open folder `dir_fd` when it is an empty
// regular file (a reservation a rename cut short left). True when removed.
[[nodiscard]] bool remove_empty_file(int dir_fd, const std::string& name);

// The same in the open folder `dir`.
[[nodiscard]] int rename_no_replace(const DirHandle& dir, const std::string& from,
                                    const std::string& to);
[[nodiscard]] int rename_no_replace(const DirHandle& dir, const std::string& from,
                                    const std::string& to, CaseFoldingMemo& memo,
                                    const ClaimNote* claim = nullptr);
[[nodiscard]] int exchange_names(const DirHandle& dir, const std::string& a, const std::string& b);
[[nodiscard]] bool remove_empty_file(const DirHandle& dir, const std::string& name);

}  // namespace varnel
