// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Limits what the user can type into a box by the length of its text in the
// code page (a Chinese character counts two bytes). Typing that would take
// the text past the limit is refused: text and caret stay as they were. A
// paste is cut to what still fits (the text after the caret is kept). Text
// the program sets is not limited, and the user may always shorten it.

#include "platform/codec.h"

class QLineEdit;
class QPlainTextEdit;

namespace varnel {

void limit_bytes(QLineEdit* edit, int max_bytes, const Codec& codec);
void limit_bytes(QPlainTextEdit* edit, int max_bytes, const Codec& codec);

}  // namespace varnel
