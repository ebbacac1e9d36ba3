// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of 标签转为Unicode (window and varnel-cli fix-tags), in the code
// page (GB18030 bytes; the comment beside each gives the characters).

#include <string_view>

namespace varnel::texts {

inline constexpr std::string_view will_convert = "\xBD\xAB\xD7\xAA\xBB\xBB";  // "将转换"
inline constexpr std::string_view converted = "\xD2\xD1\xD7\xAA\xBB\xBB";     // "已转换"
inline constexpr std::string_view will_add_v2 =
    "\xBD\xAB\xCC\xED\xBC\xD3ID3v2\xB1\xEA\xC7\xA9";  // "将添加ID3v2标签"
inline constexpr std::string_view added_v2 =
    "\xD2\xD1\xCC\xED\xBC\xD3ID3v2\xB1\xEA\xC7\xA9";  // "已添加ID3v2标签"
inline constexpr std::string_view nothing_to_convert =
    "\xCE\xDE\xD0\xE8\xD7\xAA\xBB\xBB";  // "无需转换"
inline constexpr std::string_view fix_failed = "\xD7\xAA\xBB\xBB\xCA\xA7\xB0\xDC";  // "转换失败"
// "不是MP3文件": the reason given for a name that does not end in .mp3.
inline constexpr std::string_view not_mp3 = "\xB2\xBB\xCA\xC7MP3\xCE\xC4\xBC\xFE";
// "含无法保留的帧:": the reason given when frames without a version 2.3
// form stop it, followed by their ids.
inline constexpr std::string_view frames_kept_back =
    "\xBA\xAC\xCE\xDE\xB7\xA8\xB1\xA3\xC1\xF4\xB5\xC4\xD6\xA1:";
// "编码0 (GBK) → 编码1 (UTF-16)": what a converted frame changes.
inline constexpr std::string_view encoding_change =
    "\xB1\xE0\xC2\xEB"
    "0 (GBK) \xA1\xFA \xB1\xE0\xC2\xEB"
    "1 (UTF-16)";
// "ID3v1 → ID3v2 (UTF-16)": what a frame made from the ID3v1 tag is.
inline constexpr std::string_view v1_to_v2 = "ID3v1 \xA1\xFA ID3v2 (UTF-16)";
inline constexpr std::string_view files_word = "\xB8\xF6\xCE\xC4\xBC\xFE";  // "个文件"
inline constexpr std::string_view failed_word = "\xCA\xA7\xB0\xDC";         // "失败"
inline constexpr std::string_view separator = "\xA3\xAC";                   // "，"
// "标签转为Unicode": the command and its window.
inline constexpr std::string_view fix_title = "\xB1\xEA\xC7\xA9\xD7\xAA\xCE\xAAUnicode";

}  // namespace varnel::texts
