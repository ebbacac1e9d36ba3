// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace varnel {

// Which part of a file name a rule works on: the main name, the extension
// (from its dot), or both.
enum class NameScope { main_name, extension, both };

}  // namespace varnel
