#pragma once
// Limits what the user can type into a box by the length of its text in the
// code page (a Chinese character counts two bytes). Text the program sets is
// not limited.

#include "platform/codec.h"

class QLineEdit;
class QPlainTextEdit;

namespace varnel {

void limit_bytes(QLineEdit* edit, int max_bytes, const Codec& codec);
void limit_bytes(QPlainTextEdit* edit, int max_bytes, const Codec& codec);

}  // namespace varnel
