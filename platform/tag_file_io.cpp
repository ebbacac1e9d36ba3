// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/tag_file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "platform/eintr.h"

namespace varnel {
namespace {

constexpr std::uint64_t max_offset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());

int open_retrying(int dir_fd, const char* path, int flags, mode_t mode = 0) {
    return retry_on_eintr([&] { return ::openat(dir_fd, path, flags | O_CLOEXEC, mode); });
}

// The file when it is a regular one (which O_NONBLOCK leaves blocking as
// ever), else closed with the reason.
Result<ByteFile> checked_regular(int fd) {
    if (fd < 0) return last_error("open");
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
        ::close(fd);
        errno = error;
        return last_error("open");
    }
    return ByteFile::adopt(fd);
}

constexpr std::size_t buffer_size = std::size_t{1} << 20;
constexpr std::size_t kernel_chunk = std::size_t{8} << 20;

// Starts writing [offset, offset + size) of `fd` to the disk without
// waiting, so that the final fsync finds most of it done. Best effort: the
// fsync reports any error.
void start_writeback(int fd, std::uint64_t offset, std::size_t size) {
    sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(size),
                    SYNC_FILE_RANGE_WRITE);
}

// Errors after which copy_file_range cannot do this copy but plain reads
// and writes may (other file system, old kernel, unsupported file).
bool worth_falling_back(int error) {
    return error == ENOSYS || error == EXDEV || error == EOPNOTSUPP || error == EINVAL;
}

// Copies in the kernel as far as it goes. false on a real error; true
// when done or when the rest must go through a buffer (`offset` and
// `to_offset` then tell where to go on).
bool copy_in_kernel(int from, std::uint64_t& offset, int to, std::uint64_t& to_offset) {
    if (offset > max_offset || to_offset > max_offset) return false;
    auto in = static_cast<off_t>(offset);
    auto out = static_cast<off_t>(to_offset);
    for (;;) {
        const off_t start = out;
        const ssize_t count =
            retry_on_eintr([&] { return ::copy_file_range(from, &in, to, &out, kernel_chunk, 0); });
        if (count < 0 && !worth_falling_back(errno)) return false;
        // Zero is the end of the file, or a file system that cannot say;
        // the buffered copy finds out which.
        if (count <= 0) break;
        start_writeback(to, static_cast<std::uint64_t>(start), static_cast<std::size_t>(count));
    }
    offset = static_cast<std::uint64_t>(in);
    to_offset = static_cast<std::uint64_t>(out);
    return true;
}

bool copy_through_buffer(const ByteFile& from, std::uint64_t offset, const ByteFile& to,
                         std::uint64_t to_offset) {
    std::vector<char> buffer(buffer_size);
    for (;;) {
        const auto count = from.read_at(buffer.data(), buffer.size(), offset);
        if (!count) return false;
        if (*count == 0) return true;
        if (!to.write_at(buffer.data(), *count, to_offset)) return false;
        start_writeback(to.fd(), to_offset, *count);
        offset += *count;
        to_offset += *count;
    }
}

bool copy_owner(const struct stat& original, int to, const struct stat& now) {
    if (now.st_uid == original.st_uid && now.st_gid == original.st_gid) return true;
    if (fchown(to, original.st_uid, original.st_gid) == 0) return true;
    if (errno != EPERM) return false;
    // Not allowed to give the file away: keep at least the group if ours.
    if (fchown(to, static_cast<uid_t>(-1), original.st_gid) == 0 || errno == EPERM) return true;
    return false;
}

bool ignorable_xattr_error(int error) {
    return error == ENOTSUP || error == EPERM || error == EACCES;
}

// Sets `names` to the names of `fd`'s extended attributes, each ending in
// NUL; empty when the file system keeps none. false on error.
bool list_xattrs(int fd, std::string& names) {
    for (;;) {
        const ssize_t size = flistxattr(fd, nullptr, 0);
        if (size < 0) return ignorable_xattr_error(errno);
        names.assign(static_cast<std::size_t>(size), '\0');
        if (size == 0) return true;
        const ssize_t got = flistxattr(fd, names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) return ignorable_xattr_error(errno);  // ERANGE: grew meanwhile
    }
}

bool copy_xattr(int from, const char* name, int to) {
    std::string value;
    for (;;) {
        const ssize_t size = fgetxattr(from, name, nullptr, 0);
        if (size < 0) return errno == ENODATA || ignorable_xattr_error(errno);
        value.assign(static_cast<std::size_t>(size), '\0');
        const ssize_t got = fgetxattr(from, name, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            break;
        }
        if (errno != ERANGE) return errno == ENODATA || ignorable_xattr_error(errno);
    }
    return fsetxattr(to, name, value.data(), value.size(), 0) == 0 || ignorable_xattr_error(errno);
}

bool copy_xattrs(int from, int to) {
    std::string names;
    if (!list_xattrs(from, names)) return false;
    for (std::size_t at = 0; at < names.size();) {
        const std::size_t end = names.find('\0', at);
        const std::string name = names.substr(at, end - at);  // to the end when npos
        if (!name.empty() && !copy_xattr(from, name.c_str(), to)) return false;
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return true;
}

struct FreeDeleter {
    void operator()(char* text) const { std::free(text); }
};

}  // namespace

Result<ByteFile> open_regular_file(const std::string& path, bool write) {
    // c_str() would cut the path at an embedded NUL and open another file.
    if (path.find('\0') != std::string::npos) {
        errno = EINVAL;
        return last_error("open");
    }
    const int flags = (write ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOCTTY;
    return checked_regular(open_retrying(AT_FDCWD, path.c_str(), flags));
}

Result<std::string> read_attribute(const ByteFile& file, const char* name) {
    const int fd = file.fd();
    std::string value(4096, '\0');
    for (;;) {
        const ssize_t got = fgetxattr(fd, name, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return value;
        }
        if (errno != ERANGE) return last_error("fgetxattr");
        const ssize_t needed = fgetxattr(fd, name, nullptr, 0);
        if (needed < 0) return last_error("fgetxattr");
        value.resize(static_cast<std::size_t>(needed) + 1);
    }
}

Status write_attribute(const ByteFile& file, const char* name, std::string_view value) {
    return status_of(fsetxattr(file.fd(), name, value.data(), value.size(), 0) == 0, "fsetxattr");
}

Status remove_attribute(const ByteFile& file, const char* name) {
    return status_of(fremovexattr(file.fd(), name) == 0 || errno == ENODATA, "fremovexattr");
}

Status copy_to_end(const ByteFile& from, std::uint64_t offset, const ByteFile& to,
                   std::uint64_t to_offset) {
    return status_of(copy_in_kernel(from.fd(), offset, to.fd(), to_offset) &&
                         copy_through_buffer(from, offset, to, to_offset),
                     "copy");
}

Status copy_metadata(const ByteFile& from_file, const ByteFile& to_file) {
    const int from = from_file.fd();
    const int to = to_file.fd();
    // Nothing is changed that is already right: file systems without
    // owners and modes (FAT) refuse to change them but show the same ones
    // on every file. The mode comes last: a change of owner may clear
    // set-id bits.
    struct stat original {};
    struct stat now {};
    if (fstat(from, &original) != 0 || fstat(to, &now) != 0 || !copy_owner(original, to, now) ||
        !copy_xattrs(from, to))
        return last_error("copy owner and attributes");
    const mode_t mode = original.st_mode & 07777;
    if (fstat(to, &now) != 0) return last_error("fstat");
    return status_of((now.st_mode & 07777) == mode || fchmod(to, mode) == 0, "fchmod");
}

Result<FileInfo> file_info(const ByteFile& file) {
    struct stat info {};
    if (fstat(file.fd(), &info) != 0) return last_error("fstat");
    return FileInfo{
        static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::uint64_t>(info.st_nlink), static_cast<std::uint64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

Status lock_file(const ByteFile& file, int wait_ms) {
    const int fd = file.fd();
    constexpr int step_ms = 5;
    for (int waited = 0;; waited += step_ms) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return {};
        // File systems without locks: the edit goes on unlocked.
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS) return {};
        if (errno != EWOULDBLOCK && errno != EINTR) return last_error("flock");
        if (waited >= wait_ms) {
            errno = EWOULDBLOCK;
            return last_error("flock");
        }
        const timespec pause{0, step_ms * 1000000L};
        nanosleep(&pause, nullptr);
    }
}

std::string random_hex(std::size_t bytes) {
    std::string raw(bytes, '\0');
    std::size_t got = 0;
    while (got < bytes) {
        const ssize_t count = getrandom(raw.data() + got, bytes - got, 0);
        if (count > 0) got += static_cast<std::size_t>(count);
        // Without a random source the clock and the process still make
        // the name unlikely to be guessed before it exists.
        if (count < 0 && errno != EINTR) {
            const std::string fallback = std::to_string(time_now()) + std::to_string(getpid());
            for (std::size_t i = got; i < bytes; ++i) raw[i] = fallback[i % fallback.size()];
            got = bytes;
        }
    }
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (const char c : raw) {
        text += digits[static_cast<unsigned char>(c) >> 4];
        text += digits[static_cast<unsigned char>(c) & 0x0F];
    }
    return text;
}

Result<FileLocation> locate_file(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        errno = EINVAL;
        return last_error("realpath");
    }
    const std::unique_ptr<char, FreeDeleter> real(realpath(path.c_str(), nullptr));
    if (!real) return last_error("realpath");
    const std::string full(real.get());  // absolute, no trailing '/'
    const std::size_t slash = full.rfind('/');
    if (slash == std::string::npos || slash + 1 == full.size()) {
        errno = EINVAL;
        return last_error("realpath");
    }
    return FileLocation{full.substr(0, slash + 1), full.substr(slash + 1)};
}

Result<SideFolder> SideFolder::open(const std::string& folder) {
    const int fd = open_retrying(AT_FDCWD, folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return last_error("open folder");
    return SideFolder(fd);
}

Result<ByteFile> SideFolder::create_nameless() const {
    const int fd = open_retrying(fd_.get(), ".", O_TMPFILE | O_RDWR, 0600);
    if (fd >= 0) return ByteFile::adopt(fd);
    if (errno == EISDIR || errno == EINVAL || errno == ENOENT) errno = EOPNOTSUPP;
    return last_error("open O_TMPFILE");
}

Result<ByteFile> SideFolder::create_named(const std::string& name) const {
    const int fd =
        open_retrying(fd_.get(), name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
    if (fd < 0) return last_error("create");
    return ByteFile::adopt(fd);
}

Status SideFolder::link_file(const ByteFile& file, const std::string& name) const {
    const std::string proc = "/proc/self/fd/" + std::to_string(file.fd());
    return status_of(
        linkat(AT_FDCWD, proc.c_str(), fd_.get(), name.c_str(), AT_SYMLINK_FOLLOW) == 0, "linkat");
}

Status SideFolder::rename_over(const std::string& from, const std::string& to) const {
    return status_of(renameat(fd_.get(), from.c_str(), fd_.get(), to.c_str()) == 0, "renameat");
}

Status SideFolder::remove(const std::string& name) const {
    return status_of(unlinkat(fd_.get(), name.c_str(), 0) == 0, "unlinkat");
}

Status SideFolder::sync() const {
    return status_of(fsync(fd_.get()) == 0, "fsync folder");
}

Result<ByteFile> SideFolder::open_entry(const std::string& name, bool write) const {
    const int flags = (write ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY;
    return checked_regular(open_retrying(fd_.get(), name.c_str(), flags));
}

Status SideFolder::remove_own_file(const std::string& name, std::uint64_t keep) const {
    struct stat info {};
    if (fstatat(fd_.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return status_of(errno == ENOENT, "fstatat");
    if (!S_ISREG(info.st_mode) || info.st_uid != geteuid() ||
        static_cast<std::uint64_t>(info.st_ino) == keep) {
        errno = EPERM;
        return last_error("remove");
    }
    return status_of(unlinkat(fd_.get(), name.c_str(), 0) == 0 || errno == ENOENT, "unlinkat");
}

std::int64_t time_now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::optional<FileId> SideFolder::entry_id(const std::string& name) const {
    return file_id_at(fd_.get(), name);
}

}  // namespace varnel
