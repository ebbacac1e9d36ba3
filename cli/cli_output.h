// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How varnel-cli prints names and records.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codec.h"

namespace varnel::cli {

// UTF-8 of a code-page text, escaped C-style so that it can neither drive
// the terminal nor break a line of TAB-separated fields: backslash, TAB,
// newline and carriage return as \\ \t \n \r, other bytes below 0x20 and
// 0x7F as three octal digits (\033), and the C1 controls U+0080..U+009F as
// \u0080..\u009f.
std::string escaped(std::string_view text, const Codec& codec);

// Writes one record and flushes it: the fields escaped, separated by TAB
// and ended by a newline; or, with `null_data`, each field unescaped and
// ended by a NUL byte.
void print_record(std::ostream& out, const std::vector<std::string>& code_page_fields,
                  const Codec& codec, bool null_data);

// A program text (code page) for the terminal, "\r\n" made a newline.
std::string for_terminal(std::string_view text, const Codec& codec);

}  // namespace varnel::cli
