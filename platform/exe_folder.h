// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace varnel {

// The folder that holds the running executable (file-system bytes), ending
// in '/'. Empty when it cannot be found.
[[nodiscard]] std::string executable_folder();

}  // namespace varnel
