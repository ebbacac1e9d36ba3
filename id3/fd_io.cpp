#include "id3/fd_io.h"

#include <unistd.h>

#include <cerrno>
#include <limits>

namespace varnel {
namespace {

constexpr std::uint64_t max_offset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());

// True when every byte of [offset, offset + size) has an off_t position.
bool addressable(std::uint64_t offset, std::size_t size) {
    return offset <= max_offset && size <= max_offset - offset;
}

}  // namespace

std::optional<std::size_t> read_at(int fd, void* buffer, std::size_t size, std::uint64_t offset) {
    if (!addressable(offset, size)) return std::nullopt;
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count =
            ::pread(fd, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return std::nullopt;
        if (count == 0) break;
        done += static_cast<std::size_t>(count);
    }
    return done;
}

bool write_at(int fd, const void* buffer, std::size_t size, std::uint64_t offset) {
    if (!addressable(offset, size)) return false;
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count =
            ::pwrite(fd, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;  // zero bytes without an error would loop forever
        done += static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace varnel
