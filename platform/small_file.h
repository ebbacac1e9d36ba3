// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the start of a small file, and creating an empty one, without
// ever going through a dangling symbolic link.

#include <cstddef>
#include <optional>
#include <string>

#include "platform/result.h"

namespace varnel {

// The first `limit` bytes of the file at `path` (all of it when shorter),
// or why it cannot be opened or read.
[[nodiscard]] Result<std::string> read_file_start(const std::string& path, std::size_t limit);

// Creates `path` as a new empty file (mode 0644 less the umask); never the
// target of a symbolic link, never an existing file.
[[nodiscard]] Status create_empty_file(const std::string& path);

}  // namespace varnel
