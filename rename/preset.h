// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 预设: one page's settings or a whole 规则链, kept in a small text file.
//
// The file is code-page text (GB18030), one "key=value" per line under
// "[section]" lines, like config.ini:
//
//   [Varnel预设]
//   版本=1
//   规则链=开|关            (关: one page's settings, exactly one step)
//   步数=<n>
//   [第1步] … [第n步]
//   规则=常规|替换/删除|插入|大小写|MP3标签
//   启用=开|关
//   and the keys of that page:
//     常规       作用于=文件名|扩展名|全部, 起始量, 增量, 文件名前缀, 主文件名,
//                文件名位数, 文件名后缀, 扩展名前缀, 新扩展名, 扩展名位数, 扩展名后缀
//     替换/删除  查找内容, 替换为, 区分大小写=开|关, 正则表达式=开|关,
//                应用于=仅文件名|仅扩展名|全部
//     插入       文件名字符, 扩展名字符, 文件名位置, 文件名尾=开|关,
//                扩展名位置, 扩展名尾=开|关
//     大小写     文件名, 扩展名 = 全部大写|全部小写|首字母大写|首字母小写|每个单词首字母大写
//     MP3标签    命名规则, 优先=ID3v1.x|ID3v2.x
//
// A value is every byte after the first '=' to the end of the line, kept
// exactly (spaces included); only a backslash, a line feed and a carriage
// return are written escaped (\\ \n \r), and only where they are characters
// of their own, never the second byte of a two-byte character. Lines end in
// "\n" ("\r\n" is read too). Keys and sections this version does not know
// are kept and written back after the known ones of their section.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rename/rule_chain.h"

namespace varnel {

struct PresetLine {
    std::string section;  // without brackets
    std::string line;     // the whole line as read, without its line end
};

struct Preset {
    bool chain = false;
    std::vector<RuleStep> steps;      // exactly one when !chain
    std::vector<PresetLine> unknown;  // kept as read, in order
};

struct PresetRead {
    Preset preset;
    // Why the text is not a preset (code page), naming the line; empty when
    // it is one.
    std::string error;
};

// A value as a preset line holds it: backslash, line feed and carriage
// return escaped where they are characters of their own (see above).
[[nodiscard]] std::string escaped_preset_value(std::string_view value);
// The value back; nullopt when a backslash starts no known escape.
[[nodiscard]] std::optional<std::string> unescaped_preset_value(std::string_view value);

// The newest preset version this program reads and the one it writes.
inline constexpr int preset_version = 1;

// The text of `preset` (code page).
[[nodiscard]] std::string preset_text(const Preset& preset);

// The preset of `text`; a text that is not one (no header, a version newer
// than preset_version, a missing or unknown rule, a switch or choice that is
// none of its words, a bad escape, step sections missing) gives the reason
// and an empty preset.
[[nodiscard]] PresetRead read_preset_text(std::string_view text);

// The largest preset file read_preset_file reads.
inline constexpr std::size_t longest_preset_file = 1 << 20;

// Reads the preset file at `path` (file-system bytes). The reason names the
// system's error when it cannot be read.
[[nodiscard]] PresetRead read_preset_file(const std::string& path);

// Writes `preset` to `path` in one atomic replacement; empty, or the reason
// (code page) when it cannot be written.
[[nodiscard]] std::string write_preset_file(const std::string& path, const Preset& preset);

}  // namespace varnel
