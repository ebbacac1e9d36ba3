// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/byte_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "platform/eintr.h"

namespace varnel {
namespace {

// Never O_CREAT: a file that is missing must stay missing.
int open_retrying(const std::string& path, int flags) {
    // c_str() would cut the path at an embedded NUL and open another file.
    if (path.find('\0') != std::string::npos) {
        errno = EINVAL;
        return -1;
    }
    return retry_on_eintr([&] { return ::open(path.c_str(), flags | O_CLOEXEC); });
}

bool fits_off_t(std::uint64_t value) {
    return value <= static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
}

}  // namespace

Result<ByteFile> ByteFile::open_read(const std::string& path) {
    const int fd = open_retrying(path, O_RDONLY);
    if (fd < 0) return last_error("open");
    return ByteFile(fd);
}

Result<ByteFile> ByteFile::open_read_write(const std::string& path) {
    const int fd = open_retrying(path, O_RDWR);
    if (fd < 0) return last_error("open");
    return ByteFile(fd);
}

Result<std::uint64_t> ByteFile::length() const {
    struct stat info {};
    if (fstat(fd(), &info) != 0) return last_error("fstat");
    return static_cast<std::uint64_t>(info.st_size);
}

bool ByteFile::seek(std::uint64_t offset) {
    if (!fits_off_t(offset)) return false;
    return lseek(fd(), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

std::optional<std::size_t> ByteFile::read(void* buffer, std::size_t size) {
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    // A read may return less than asked before the end (pipes, signals).
    while (done < size) {
        const ssize_t count =
            retry_on_eintr([&] { return ::read(fd(), bytes + done, size - done); });
        if (count < 0) return std::nullopt;
        if (count == 0) break;
        done += static_cast<std::size_t>(count);
    }
    return done;
}

Result<std::string> ByteFile::read_bytes(std::uint64_t offset, std::size_t size) const {
    std::string bytes(size, '\0');
    const Result<std::size_t> got = read_at(bytes.data(), bytes.size(), offset);
    if (!got) return got.error();
    if (*got != size) return SystemError{EIO, {}};
    return bytes;
}

std::optional<std::string> ByteFile::bytes_at(std::uint64_t offset, std::size_t size) const {
    Result<std::string> bytes = read_bytes(offset, size);
    if (!bytes) return std::nullopt;
    return std::move(*bytes);
}

bool ByteFile::read_exact(void* buffer, std::size_t size) {
    const auto count = read(buffer, size);
    return count && *count == size;
}

bool ByteFile::write(const void* buffer, std::size_t size) {
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count =
            retry_on_eintr([&] { return ::write(fd(), bytes + done, size - done); });
        // Zero bytes written without an error would loop forever.
        if (count <= 0) return false;
        done += static_cast<std::size_t>(count);
    }
    return true;
}

Status ByteFile::truncate(std::uint64_t size) const {
    if (!fits_off_t(size)) return SystemError{EFBIG, "ftruncate"};
    return status_of(retry_on_eintr([&] { return ftruncate(fd(), static_cast<off_t>(size)); }) == 0,
                     "ftruncate");
}

Result<std::string> read_whole_file(const std::string& path) {
    const Result<ByteFile> file = ByteFile::open_read(path);
    if (!file) return file.error();
    std::string content;
    std::string chunk(65536, '\0');
    // Read in turn, not at offsets: a pipe or FIFO (a list given as
    // <(command)) has no offsets.
    for (;;) {
        const ssize_t count =
            retry_on_eintr([&] { return ::read(file->fd(), chunk.data(), chunk.size()); });
        if (count < 0) return last_error();
        if (count == 0) return content;
        content.append(chunk, 0, static_cast<std::size_t>(count));
    }
}

}  // namespace varnel
