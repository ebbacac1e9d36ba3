// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/terminal.h"

#include <unistd.h>

namespace varnel {

bool is_terminal(int fd) {
    return ::isatty(fd) == 1;
}

}  // namespace varnel
