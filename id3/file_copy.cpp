#include "id3/file_copy.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <string>
#include <vector>

#include "id3/fd_io.h"

namespace varnel {
namespace {

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
    constexpr auto max_offset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
    if (offset > max_offset || to_offset > max_offset) return false;
    auto in = static_cast<off_t>(offset);
    auto out = static_cast<off_t>(to_offset);
    for (;;) {
        const off_t start = out;
        const ssize_t count = ::copy_file_range(from, &in, to, &out, kernel_chunk, 0);
        if (count < 0 && errno == EINTR) continue;
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

bool copy_through_buffer(int from, std::uint64_t offset, int to, std::uint64_t to_offset) {
    std::vector<char> buffer(buffer_size);
    for (;;) {
        const auto count = read_at(from, buffer.data(), buffer.size(), offset);
        if (!count) return false;
        if (*count == 0) return true;
        if (!write_at(to, buffer.data(), *count, to_offset)) return false;
        start_writeback(to, to_offset, *count);
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

}  // namespace

bool copy_to_end(int from, std::uint64_t offset, int to, std::uint64_t to_offset) {
    return copy_in_kernel(from, offset, to, to_offset) &&
           copy_through_buffer(from, offset, to, to_offset);
}

bool copy_metadata(int from, const struct stat& original, int to) {
    // Nothing is changed that is already right: file systems without
    // owners and modes (FAT) refuse to change them but show the same ones
    // on every file. The mode comes last: a change of owner may clear
    // set-id bits.
    struct stat now {};
    if (fstat(to, &now) != 0 || !copy_owner(original, to, now) || !copy_xattrs(from, to))
        return false;
    const mode_t mode = original.st_mode & 07777;
    if (fstat(to, &now) != 0) return false;
    return (now.st_mode & 07777) == mode || fchmod(to, mode) == 0;
}

}  // namespace varnel
