// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's folders and what the user may do in a folder.

#include <string>

#include "platform/atomic_file.h"

namespace varnel {

// The user's configuration folder, without a trailing '/':
// $XDG_CONFIG_HOME when it holds an absolute path, otherwise the home
// folder ($HOME, or the password database's entry) followed by "/.config".
// Empty when no home folder is known.
[[nodiscard]] std::string user_config_home();

// True when the user may create and replace files in `folder`.
[[nodiscard]] bool folder_is_writable(const std::string& folder);

// True when something exists at `path` (a dangling symbolic link counts).
[[nodiscard]] bool path_exists(const std::string& path);

// Creates `folder` and every missing folder above it, new ones with mode
// 0700 (less the umask); succeeds when it exists already.
[[nodiscard]] WriteResult make_folders(const std::string& folder);

}  // namespace varnel
