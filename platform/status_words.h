// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The status words of the list's columns and the tag-fix table as a person
// reads them.
//
// The batch and tag commands write fixed Chinese words into status cells
// ("更名成功", "无标签", "将转换" …). They are data: varnel-cli prints them for
// scripts whatever the language. The window shows each in its own language.

#include <string>
#include <string_view>

namespace varnel {

// `cell` (code page) in the current language (platform/language.h): a cell
// that is one of the status words, or starts with one followed by a space
// or "：", has that word replaced by its English twin under English; any
// other text, and every text under Chinese, is returned as it is.
[[nodiscard]] std::string status_for_people(std::string_view cell);

}  // namespace varnel
