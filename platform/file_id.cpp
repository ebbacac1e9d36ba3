// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_id.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace varnel {

namespace {
constexpr long fuse_magic = 0x65735546;
constexpr long msdos_magic = 0x4d44;
constexpr long exfat_magic = 0x2011BAB0;
}  // namespace

bool is_same_file(const FileId& recorded, const FileId& now) {
    const bool both_born = recorded.has_birth && now.has_birth;
    if (both_born && (recorded.birth_sec != now.birth_sec || recorded.birth_nsec != now.birth_nsec))
        return false;
    if (recorded.lasting_inode && now.lasting_inode &&
        (recorded.device != now.device || recorded.inode != now.inode))
        return false;
    if (!both_born && (recorded.mtime_sec != now.mtime_sec ||
                       recorded.mtime_nsec != now.mtime_nsec || recorded.size != now.size))
        return false;
    return true;
}

bool inode_numbers_last(int dir_fd) {
    struct statfs info {};
    if (fstatfs(dir_fd, &info) != 0) return true;
    const long type = static_cast<long>(info.f_type);
    return type != fuse_magic && type != msdos_magic && type != exfat_magic;
}

std::optional<FileId> file_id_at(int dir_fd, const std::string& name, bool lasting_inodes) {
    // c_str() would silently cut a name at an embedded NUL and examine
    // another entry.
    if (name.find('\0') != std::string::npos) return std::nullopt;
    struct statx info {};
    if (statx(dir_fd, name.c_str(), AT_SYMLINK_NOFOLLOW,
              STATX_INO | STATX_SIZE | STATX_MTIME | STATX_BTIME, &info) != 0)
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
    return id;
}

}  // namespace varnel
