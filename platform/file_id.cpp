// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_id.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "platform/dir_handle.h"
#include "platform/language.h"

namespace varnel {

namespace {
constexpr long fuse_magic = 0x65735546;
constexpr long msdos_magic = 0x4d44;
constexpr long exfat_magic = 0x2011BAB0;
constexpr long ext_magic = 0xEF53;
constexpr long tmpfs_magic = 0x01021994;
constexpr long btrfs_magic = 0x9123683E;
constexpr long xfs_magic = 0x58465342;
constexpr long f2fs_magic = 0xF2F52010;

constexpr std::size_t fingerprint_part = 4096;

long file_system_type(int dir_fd) {
    struct statfs info {};
    if (fstatfs(dir_fd, &info) != 0) return 0;
    return static_cast<long>(info.f_type);
}

// FNV-1a, 64 bits: no security is asked of it, only that another content
// rarely hashes alike.
void hash_into(std::uint64_t& hash, const char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= static_cast<unsigned char>(bytes[i]);
        hash *= 0x100000001B3ULL;
    }
}

// Reads `size` bytes at `offset` whole; false on a short read or error.
bool read_at(int fd, char* into, std::size_t size, off_t offset) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = pread(fd, into + got, size - got, offset + static_cast<off_t>(got));
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

// The fingerprint of the regular file `name`; nullopt when it cannot be read
// or is no regular file of `size` bytes.
std::optional<std::uint64_t> fingerprint_of(int dir_fd, const std::string& name,
                                            std::uint64_t size) {
    // O_NONBLOCK: a FIFO put in the file's place must not block the batch.
    const int fd = openat(dir_fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    std::array<char, fingerprint_part> buffer{};
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<std::uint64_t>(info.st_size) == size;
    const std::size_t head =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, fingerprint_part));
    if (ok && (ok = read_at(fd, buffer.data(), head, 0))) hash_into(hash, buffer.data(), head);
    if (ok && size > fingerprint_part &&
        (ok = read_at(fd, buffer.data(), fingerprint_part,
                      static_cast<off_t>(size - fingerprint_part))))
        hash_into(hash, buffer.data(), fingerprint_part);
    ::close(fd);
    if (!ok) return std::nullopt;
    return hash;
}

}  // namespace

FileMismatch compare_files(const FileId& recorded, const FileId& now) {
    const bool both_born = recorded.has_birth && now.has_birth;
    if (both_born && (recorded.birth_sec != now.birth_sec || recorded.birth_nsec != now.birth_nsec))
        return FileMismatch::birth;
    if (recorded.lasting_inode && now.lasting_inode &&
        (recorded.device != now.device || recorded.inode != now.inode))
        return FileMismatch::inode;
    const bool both_printed = recorded.has_fingerprint && now.has_fingerprint;
    if ((both_printed || !both_born) && recorded.size != now.size) return FileMismatch::size;
    if (both_printed)
        return recorded.fingerprint == now.fingerprint ? FileMismatch::none : FileMismatch::content;
    if (both_born) return FileMismatch::none;
    if (recorded.mtime_sec != now.mtime_sec || recorded.mtime_nsec != now.mtime_nsec)
        return FileMismatch::mtime;
    return FileMismatch::none;
}

bool is_same_file(const FileId& recorded, const FileId& now) {
    return compare_files(recorded, now) == FileMismatch::none;
}

std::string mismatch_text(FileMismatch mismatch) {
    switch (mismatch) {
        case FileMismatch::none:
            return {};
        case FileMismatch::birth:
            return say("创建时间不同", "its creation time differs");
        case FileMismatch::inode:
            return say("是另一个inode", "it is another inode");
        case FileMismatch::size:
            return say("大小不同", "its size differs");
        case FileMismatch::content:
            return say("内容不同", "its content differs");
        case FileMismatch::mtime:
            return say("修改时间不同", "its modification time differs");
    }
    return {};
}

bool inode_numbers_last(int dir_fd) {
    const long type = file_system_type(dir_fd);
    return type != fuse_magic && type != msdos_magic && type != exfat_magic;
}

bool can_exchange_names(int dir_fd) {
    const long type = file_system_type(dir_fd);
    return type == ext_magic || type == tmpfs_magic || type == btrfs_magic || type == xfs_magic ||
           type == f2fs_magic;
}

namespace {

// The identity of `name` in `dir_fd`, or of `dir_fd` itself with an empty
// name (AT_EMPTY_PATH); a content fingerprint only for a named regular file.
std::optional<FileId> statx_id(int dir_fd, const std::string& name, int flags,
                               bool lasting_inodes) {
    struct statx info {};
    if (statx(dir_fd, name.c_str(), flags,
              STATX_TYPE | STATX_INO | STATX_SIZE | STATX_MTIME | STATX_BTIME, &info) != 0)
        return std::nullopt;
    FileId id;
    id.device = (static_cast<std::uint64_t>(info.stx_dev_major) << 32) | info.stx_dev_minor;
    id.inode = info.stx_ino;
    id.lasting_inode = lasting_inodes;
    id.has_birth = (info.stx_mask & STATX_BTIME) != 0 && info.stx_btime.tv_sec != 0;
    if (id.has_birth) {
        id.birth_sec = info.stx_btime.tv_sec;
        id.birth_nsec = info.stx_btime.tv_nsec;
    }
    id.mtime_sec = info.stx_mtime.tv_sec;
    id.mtime_nsec = info.stx_mtime.tv_nsec;
    id.size = info.stx_size;
    if (!lasting_inodes && !name.empty() && S_ISREG(info.stx_mode)) {
        const auto fingerprint = fingerprint_of(dir_fd, name, id.size);
        id.has_fingerprint = fingerprint.has_value();
        id.fingerprint = fingerprint.value_or(0);
    }
    return id;
}

}  // namespace

std::optional<FileId> file_id_at(int dir_fd, const std::string& name, bool lasting_inodes) {
    // c_str() would silently cut a name at an embedded NUL and examine
    // another entry.
    if (name.find('\0') != std::string::npos) {
        errno = EINVAL;
        return std::nullopt;
    }
    return statx_id(dir_fd, name, AT_SYMLINK_NOFOLLOW, lasting_inodes);
}

std::optional<FileId> file_id_of(int fd) {
    return statx_id(fd, std::string(), AT_EMPTY_PATH, inode_numbers_last(fd));
}

Result<FileId> file_id_at(const DirHandle& dir, const std::string& name) {
    std::optional<FileId> id = file_id_at(dir.fd(), name, dir.lasting_inodes());
    if (!id) return last_error("statx");
    return *id;
}

bool can_exchange_names(const DirHandle& dir) {
    return can_exchange_names(dir.fd());
}

Result<FileId> file_id_of(const ByteFile& file) {
    std::optional<FileId> id = file_id_of(file.fd());
    if (!id) return last_error("statx");
    return *id;
}

}  // namespace varnel
