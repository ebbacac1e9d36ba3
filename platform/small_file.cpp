// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/small_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/eintr.h"

namespace varnel {

std::optional<std::string> read_file_start(const std::string& path, std::size_t limit, int& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return std::nullopt;
    }
    std::string bytes(limit, '\0');
    std::size_t have = 0;
    error = 0;
    while (have < limit) {
        const ssize_t got =
            retry_on_eintr([&] { return ::read(fd, bytes.data() + have, limit - have); });
        if (got < 0) error = errno;
        if (got <= 0) break;
        have += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (error != 0) return std::nullopt;
    bytes.resize(have);
    return bytes;
}

int create_empty_file(const std::string& path) {
    // O_EXCL creates the file itself, never the target of a dangling link.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    ::close(fd);
    return 0;
}

}  // namespace varnel
