// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a whole buffer to a file descriptor.

#include <string_view>

namespace varnel {

// Writes every byte of `bytes` at the descriptor's position, again after an
// interrupted or short write. 0, or the errno value of the write that failed.
[[nodiscard]] int write_all(int fd, std::string_view bytes);

}  // namespace varnel
