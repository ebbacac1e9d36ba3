// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/small_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/unique_fd.h"

namespace varnel {

Result<std::string> read_file_start(const std::string& path, std::size_t limit) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return last_error("open");
    std::string bytes(limit, '\0');
    std::size_t have = 0;
    while (have < limit) {
        const Result<std::size_t> got = fd.read_at(bytes.data() + have, limit - have, have);
        if (!got) return got.error();
        if (*got == 0) break;
        have += *got;
    }
    bytes.resize(have);
    return bytes;
}

Status create_empty_file(const std::string& path) {
    // O_EXCL creates the file itself, never the target of a dangling link.
    const UniqueFd fd(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    return status_of(fd.valid(), "create");
}

}  // namespace varnel
