// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// System calls that a signal interrupts are simply made again.

#include <cerrno>

namespace varnel {

// Calls `call` (a system call returning -1 on failure) again as long as it
// fails with EINTR; its last result, errno as it left it.
template <class Call>
[[nodiscard]] auto retry_on_eintr(Call call) -> decltype(call()) {
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR) return result;
    }
}

}  // namespace varnel
