// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/error_text.h"

#include <cstring>

namespace varnel {

std::string system_error_text(int error) {
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which may or may not be `buffer`.
    return ::strerror_r(error, buffer, sizeof buffer);
}

}  // namespace varnel
