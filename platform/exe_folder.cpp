// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/exe_folder.h"

#include <unistd.h>

namespace varnel {

std::string executable_folder() {
    // readlink neither reports the length it needs nor adds a NUL, so grow
    // the buffer until the link fits with room to spare.
    std::string target(256, '\0');
    while (true) {
        const ssize_t length = readlink("/proc/self/exe", target.data(), target.size());
        if (length < 0) return {};
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(target.size() * 2);
    }
    const std::size_t slash = target.rfind('/');
    if (slash == std::string::npos) return {};
    return target.substr(0, slash + 1);
}

}  // namespace varnel
