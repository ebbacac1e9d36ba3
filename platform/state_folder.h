// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's state folder of the program: $XDG_STATE_HOME/varnel/, by
// default ~/.local/state/varnel/.

#include <optional>
#include <string>

namespace varnel {

// The folder (ending in '/'), created with mode 0700 where missing; nullopt
// when there is no home folder or it cannot be created.
[[nodiscard]] std::optional<std::string> user_state_folder();

// The same folder's path without creating anything.
[[nodiscard]] std::optional<std::string> state_folder_path();

}  // namespace varnel
