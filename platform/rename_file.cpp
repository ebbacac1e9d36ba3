// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/rename_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "platform/dir_handle.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1U << 0)
#endif
#ifndef RENAME_EXCHANGE
#define RENAME_EXCHANGE (1U << 1)
#endif

namespace varnel {
namespace {

int system_renameat2(int old_dir, const char* old_name, int new_dir, const char* new_name,
                     unsigned int flags) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 28))
    return ::renameat2(old_dir, old_name, new_dir, new_name, flags);
#else
    return static_cast<int>(syscall(SYS_renameat2, old_dir, old_name, new_dir, new_name, flags));
#endif
}

// renameat2 errors that mean "this file system or kernel has no
// RENAME_NOREPLACE" rather than anything about the files.
bool is_flag_unsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP;
}

// linkat errors that mean "no hard links here" rather than anything about the files.
bool is_link_refused(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EXDEV ||
           error == EMLINK || error == ENOSYS;
}

// Where neither RENAME_NOREPLACE nor hard links exist: the target name is
// reserved first by creating it exclusively, and the file is then renamed
// over the reservation. Any other process that renames the same way finds
// the name taken from the moment it is reserved. A failed rename removes
// the reservation again (when it is still the empty file created here).
int rename_over_reservation(int dir_fd, const std::string& from, const std::string& to,
                            const RenameCalls& calls, const ClaimNote* claim) {
    struct stat source {};
    if (fstatat(dir_fd, from.c_str(), &source, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    if (claim != nullptr && *claim) {
        const int error = (*claim)(to);
        if (error != 0) return error;
    }
    const int fd =
        openat(dir_fd, to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    struct stat reserved {};
    const bool known = fstat(fd, &reserved) == 0;
    ::close(fd);
    if (calls.renameat(dir_fd, from.c_str(), dir_fd, to.c_str()) == 0) return 0;
    const int error = errno;
    struct stat now {};
    if (known && fstatat(dir_fd, to.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
        now.st_ino == reserved.st_ino && now.st_dev == reserved.st_dev && now.st_size == 0)
        calls.unlinkat(dir_fd, to.c_str(), 0);
    return error;
}

// Link + unlink: linkat refuses an existing target, so nothing is replaced.
int rename_by_link(int dir_fd, const std::string& from, const std::string& to,
                   const RenameCalls& calls, const ClaimNote* claim) {
    // Flags 0: a symbolic link is linked as itself, not its target.
    if (calls.linkat(dir_fd, from.c_str(), dir_fd, to.c_str(), 0) != 0) {
        const int error = errno;
        if (is_link_refused(error)) return rename_over_reservation(dir_fd, from, to, calls, claim);
        return error;
    }
    if (calls.unlinkat(dir_fd, from.c_str(), 0) == 0) return 0;
    const int error = errno;
    // Leave one name, not two: the rename did not happen.
    calls.unlinkat(dir_fd, to.c_str(), 0);
    return error;
}

// One no-replace rename with every fallback. EEXIST may mean that `to` is
// another spelling of `from`; the caller decides.
int move_once(int dir_fd, const std::string& from, const std::string& to, const RenameCalls& calls,
              const ClaimNote* claim) {
    if (calls.renameat2(dir_fd, from.c_str(), dir_fd, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    const int error = errno;
    if (is_flag_unsupported(error)) return rename_by_link(dir_fd, from, to, calls, claim);
    return error;
}

bool same_inode(int dir_fd, const std::string& a, const std::string& b) {
    struct stat info_a {};
    struct stat info_b {};
    return fstatat(dir_fd, a.c_str(), &info_a, AT_SYMLINK_NOFOLLOW) == 0 &&
           fstatat(dir_fd, b.c_str(), &info_b, AT_SYMLINK_NOFOLLOW) == 0 &&
           info_a.st_dev == info_b.st_dev && info_a.st_ino == info_b.st_ino;
}

// Names that a case-insensitive file system may take for one: of one
// length, equal but for ASCII case and for their non-ASCII bytes (whose
// case rules belong to the file system: é and É in UTF-8).
bool may_differ_in_case_only(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        const bool wide =
            (static_cast<unsigned char>(a[i]) | static_cast<unsigned char>(b[i])) >= 0x80;
        if (!wide && lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Whether the folder folds case, read from one listing while both `from`
// and `to` (names that may differ in case only) answer to a lookup: folding
// when `to` is not listed, keeping case when both are listed; nullopt when
// the folder cannot be listed or another process changed it meanwhile.
std::optional<bool> listing_folds_case(int dir_fd, const std::string& from, const std::string& to) {
    const int fd = openat(dir_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return std::nullopt;
    }
    bool from_listed = false;
    bool to_listed = false;
    while (const dirent* entry = readdir(dir)) {
        if (from == entry->d_name) from_listed = true;
        if (to == entry->d_name) to_listed = true;
    }
    closedir(dir);
    if (!to_listed) return true;
    if (from_listed) return false;
    return std::nullopt;
}

// True when `to` is another spelling of `from` itself: the same inode, or,
// on a case-insensitive file system that numbers each spelling apart
// (FUSE), names that may differ in case only in a folder that folds case.
bool is_other_spelling(int dir_fd, const std::string& from, const std::string& to,
                       CaseFoldingMemo* memo) {
    if (same_inode(dir_fd, from, to)) return true;
    if (!may_differ_in_case_only(from, to)) return false;
    if (memo) {
        if (const std::optional<bool> known = memo->folds(dir_fd)) return *known;
    }
    const std::optional<bool> folds = listing_folds_case(dir_fd, from, to);
    if (memo && folds) memo->set(dir_fd, *folds);
    return folds.value_or(false);
}

// A name nobody else is expected to use; move_once refuses it anyway if
// it exists.
std::string temporary_name() {
    static std::atomic<unsigned> counter{0};
    return ".varnel-rename-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

// A case-only rename where the file system sees `to` as `from` itself:
// through a temporary name, moving the file back when `to` turns out to be
// another file or the second step fails.
int rename_through_temporary(int dir_fd, const std::string& from, const std::string& to,
                             const RenameCalls& calls, const ClaimNote* claim) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary = temporary_name();
        if (claim != nullptr && *claim) {
            const int error = (*claim)(temporary);
            if (error != 0) return error;
        }
        int error = move_once(dir_fd, from, temporary, calls, nullptr);
        if (error == EEXIST) continue;
        if (error != 0) return error;
        // Refused when `to` is another file after all (a stat here could
        // still see the old spelling in FUSE's name cache).
        error = move_once(dir_fd, temporary, to, calls, claim);
        if (error != 0) move_once(dir_fd, temporary, from, calls, nullptr);
        return error;
    }
    return EEXIST;
}

}  // namespace

const RenameCalls& system_rename_calls() {
    static const RenameCalls calls{system_renameat2, ::renameat, ::linkat, ::unlinkat};
    return calls;
}

bool is_valid_entry_name(std::string_view name) {
    return !name.empty() && name.size() <= 255 && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

int exchange_names(int dir_fd, const std::string& a, const std::string& b,
                   const RenameCalls& calls) {
    if (!is_valid_entry_name(a) || !is_valid_entry_name(b)) return EINVAL;
    return calls.renameat2(dir_fd, a.c_str(), dir_fd, b.c_str(), RENAME_EXCHANGE) == 0 ? 0 : errno;
}

bool remove_empty_file(int dir_fd, const std::string& name) {
    struct stat info {};
    if (!is_valid_entry_name(name) ||
        fstatat(dir_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size != 0)
        return false;
    return unlinkat(dir_fd, name.c_str(), 0) == 0;
}

namespace {

int rename_with_memo(int dir_fd, const std::string& from, const std::string& to,
                     CaseFoldingMemo* memo, const RenameCalls& calls, const ClaimNote* claim) {
    // A '/' in either name would reach into another folder.
    if (!is_valid_entry_name(to) || !is_valid_entry_name(from)) return EINVAL;
    if (from == to) {
        struct stat info {};
        if (fstatat(dir_fd, from.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) return 0;
        return errno;
    }
    const int error = move_once(dir_fd, from, to, calls, claim);
    if (error == EEXIST && is_other_spelling(dir_fd, from, to, memo))
        return rename_through_temporary(dir_fd, from, to, calls, claim);
    return error;
}

}  // namespace

std::optional<bool> CaseFoldingMemo::folds(int dir_fd) const {
    if (dir_fd < 0 || static_cast<std::size_t>(dir_fd) >= by_fd_.size()) return std::nullopt;
    const signed char known = by_fd_[static_cast<std::size_t>(dir_fd)];
    if (known < 0) return std::nullopt;
    return known == 1;
}

void CaseFoldingMemo::set(int dir_fd, bool folds) {
    if (dir_fd < 0) return;
    const auto at = static_cast<std::size_t>(dir_fd);
    if (at >= by_fd_.size()) by_fd_.resize(at + 1, -1);
    by_fd_[at] = folds ? 1 : 0;
}

int rename_no_replace(int dir_fd, const std::string& from, const std::string& to,
                      const RenameCalls& calls, const ClaimNote* claim) {
    return rename_with_memo(dir_fd, from, to, nullptr, calls, claim);
}

int rename_no_replace(int dir_fd, const std::string& from, const std::string& to,
                      CaseFoldingMemo& memo, const RenameCalls& calls, const ClaimNote* claim) {
    return rename_with_memo(dir_fd, from, to, &memo, calls, claim);
}

int rename_no_replace(const DirHandle& dir, const std::string& from, const std::string& to) {
    return rename_no_replace(dir.fd(), from, to);
}

int rename_no_replace(const DirHandle& dir, const std::string& from, const std::string& to,
                      CaseFoldingMemo& memo, const ClaimNote* claim) {
    return rename_no_replace(dir.fd(), from, to, memo, system_rename_calls(), claim);
}

int exchange_names(const DirHandle& dir, const std::string& a, const std::string& b) {
    return exchange_names(dir.fd(), a, b);
}

bool remove_empty_file(const DirHandle& dir, const std::string& name) {
    return remove_empty_file(dir.fd(), name);
}

}  // namespace varnel
