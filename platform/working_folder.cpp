// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/working_folder.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace varnel {

std::string working_folder() {
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

}  // namespace varnel
