// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tag texts whose bytes may not be in the encoding their format declares:
// Chinese rippers stored GBK bytes where a format says UTF-8 (APE, Vorbis
// comments) or where it says Latin-1 (ID3v2 encoding 0, WMA strings that
// hold one byte per character). The result is code-page text.

#include <string>
#include <string_view>

#include "platform/codec.h"

namespace varnel {

// Bytes declared UTF-8: well-formed UTF-8 is converted; otherwise bytes
// that form valid code-page text are kept as they are (legacy GBK); any
// other bytes are converted lossily (malformed sequences dropped).
[[nodiscard]] std::string text_from_utf8_field(std::string_view bytes, const Codec& codec);

// Bytes declared Latin-1, one byte per character: bytes that form valid
// code-page text are kept as they are, as the MP3 reader keeps encoding 0;
// any other bytes are read as Latin-1.
[[nodiscard]] std::string text_from_latin1_field(std::string_view bytes, const Codec& codec);

// Bytes of no declared encoding (RIFF INFO): UTF-8 when well-formed, else
// as text_from_latin1_field.
[[nodiscard]] std::string text_from_unknown_field(std::string_view bytes, const Codec& codec);

}  // namespace varnel
