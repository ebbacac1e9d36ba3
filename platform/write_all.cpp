// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/write_all.h"

#include <unistd.h>

#include <cerrno>

#include "platform/eintr.h"

namespace varnel {

int write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written =
            retry_on_eintr([&] { return ::write(fd, bytes.data(), bytes.size()); });
        if (written < 0) return errno;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace varnel
