// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of 标签转为Unicode (window and varnel-cli fix-tags), in the code
// page (GB18030).
//
// The six status words are data: varnel-cli prints them as its records'
// status field, which scripts read, so they are the same in every
// language. The other texts are for people and follow the language the
// process speaks (see platform/language.h).

#include <string>

namespace varnel::texts {

// Status words (data): "将转换", "已转换", "将添加ID3v2标签", "已添加ID3v2标签",
// "无需转换", "转换失败".
[[nodiscard]] const std::string& will_convert();
[[nodiscard]] const std::string& converted();
[[nodiscard]] const std::string& will_add_v2();
[[nodiscard]] const std::string& added_v2();
[[nodiscard]] const std::string& nothing_to_convert();
[[nodiscard]] const std::string& fix_failed();

// The reason given for a name that does not end in .mp3: "不是MP3文件".
[[nodiscard]] const std::string& not_mp3();
// The reason given when frames without a version 2.3 form stop it,
// followed by their ids: "含无法保留的帧:".
[[nodiscard]] const std::string& frames_kept_back();
// What a converted frame changes: "编码0 (GBK) → 编码1 (UTF-16)".
[[nodiscard]] const std::string& encoding_change();
// What a frame made from the ID3v1 tag is: "ID3v1 → ID3v2 (UTF-16)", the
// same in both languages.
[[nodiscard]] const std::string& v1_to_v2();
// The words of the summary: "个文件" (after a count), "失败" and "，".
[[nodiscard]] const std::string& files_word();
[[nodiscard]] const std::string& failed_word();
[[nodiscard]] const std::string& separator();
// The command and its window: "标签转为Unicode".
[[nodiscard]] const std::string& fix_title();

}  // namespace varnel::texts
