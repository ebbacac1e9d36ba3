// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether an output goes to a person at a terminal.

namespace varnel {

// True when the open descriptor `fd` is a terminal.
[[nodiscard]] bool is_terminal(int fd);

}  // namespace varnel
