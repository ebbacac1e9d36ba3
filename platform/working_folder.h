// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process's working folder.

#include <string>

namespace varnel {

// The absolute path of the working folder (file-system bytes, no trailing
// '/' except for the root); "/" when it cannot be found.
[[nodiscard]] std::string working_folder();

}  // namespace varnel
