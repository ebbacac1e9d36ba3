// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Code-page texts <-> Qt strings, through the program's codec.

#include <QString>
#include <string>
#include <string_view>

#include "platform/codec.h"

namespace varnel {

// A code-page text for display; bytes that are not valid code page show as U+FFFD.
QString to_qstring(std::string_view text, const Codec& codec);

// A Qt string in the code page (GB18030 holds every character, so nothing is lost).
std::string from_qstring(const QString& text, const Codec& codec);

// A file-system path (bytes) and back, as Qt spells paths on this system.
QString path_to_qstring(const std::string& fs_path);
std::string path_from_qstring(const QString& path);

}  // namespace varnel
