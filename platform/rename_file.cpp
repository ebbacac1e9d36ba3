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

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1U << 0)
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
                            const RenameCalls& calls) {
    struct stat source {};
    if (fstatat(dir_fd, from.c_str(), &source, AT_SYMLINK_NOFOLLOW) != 0) return errno;
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
                   const RenameCalls& calls) {
    // Flags 0: a symbolic link is linked as itself, not its target.
    if (calls.linkat(dir_fd, from.c_str(), dir_fd, to.c_str(), 0) != 0) {
        const int error = errno;
        if (is_link_refused(error)) return rename_over_reservation(dir_fd, from, to, calls);
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
int move_once(int dir_fd, const std::string& from, const std::string& to,
              const RenameCalls& calls) {
    if (calls.renameat2(dir_fd, from.c_str(), dir_fd, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    const int error = errno;
    if (is_flag_unsupported(error)) return rename_by_link(dir_fd, from, to, calls);
    return error;
}

bool same_inode(int dir_fd, const std::string& a, const std::string& b) {
    struct stat info_a {};
    struct stat info_b {};
    return fstatat(dir_fd, a.c_str(), &info_a, AT_SYMLINK_NOFOLLOW) == 0 &&
           fstatat(dir_fd, b.c_str(), &info_b, AT_SYMLINK_NOFOLLOW) == 0 &&
           info_a.st_dev == info_b.st_dev && info_a.st_ino == info_b.st_ino;
}

bool equal_ignoring_ascii_case(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// True when the folder lists an entry spelled exactly `name`; false also
// when the folder cannot be listed.
bool lists_exactly(int dir_fd, const std::string& name, bool& listed) {
    listed = false;
    const int fd = openat(dir_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return false;
    }
    listed = true;
    bool found = false;
    while (const dirent* entry = readdir(dir))
        if (name == entry->d_name) found = true;
    closedir(dir);
    return found;
}

// True when `to` is another spelling of `from` itself: the same inode, or,
// on a case-insensitive file system that numbers each spelling apart
// (FUSE), names equal but for ASCII case where the folder holds no entry
// spelled exactly `to`.
bool is_other_spelling(int dir_fd, const std::string& from, const std::string& to) {
    if (same_inode(dir_fd, from, to)) return true;
    if (!equal_ignoring_ascii_case(from, to)) return false;
    bool listed = false;
    const bool exact = lists_exactly(dir_fd, to, listed);
    return listed && !exact;
}

// A name nobody else is expected to use; move_once refuses it anyway if
// it exists.
std::string temporary_name() {
    static std::atomic<unsigned> counter{0};
    return ".varnel-rename-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

// A case-only rename where the file system sees `to` as `from` itself:
// through a temporary name, moving the file back when the second step fails.
int rename_through_temporary(int dir_fd, const std::string& from, const std::string& to,
                             const RenameCalls& calls) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary = temporary_name();
        int error = move_once(dir_fd, from, temporary, calls);
        if (error == EEXIST) continue;
        if (error != 0) return error;
        error = move_once(dir_fd, temporary, to, calls);
        if (error != 0) move_once(dir_fd, temporary, from, calls);
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

int rename_no_replace(int dir_fd, const std::string& from, const std::string& to,
                      const RenameCalls& calls) {
    // A '/' in either name would reach into another folder.
    if (!is_valid_entry_name(to) || !is_valid_entry_name(from)) return EINVAL;
    if (from == to) {
        struct stat info {};
        if (fstatat(dir_fd, from.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) return 0;
        return errno;
    }
    const int error = move_once(dir_fd, from, to, calls);
    if (error == EEXIST && is_other_spelling(dir_fd, from, to))
        return rename_through_temporary(dir_fd, from, to, calls);
    return error;
}

}  // namespace varnel
