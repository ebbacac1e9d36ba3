// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system's own text for an error number.

#include <string>

namespace varnel {

// The system's text for errno value `error` ("Permission denied"), in the
// C locale's language; UTF-8 (ASCII for the C locale).
[[nodiscard]] std::string system_error_text(int error);

}  // namespace varnel
