// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings record and its file, config.ini (settings_folder.h tells
// in which folder).
//
// config.ini holds code-page texts:
//   [预览选项] 自动预览=开|关, 全部预览=开|关, 预览数量=<integer>
//   [颜色]     背景颜色=<integer>, 字体颜色=<integer>   (colours 0x00BBGGRR)
//   [字体]     字体名称=<face>, 字体大小=<integer>, 字体样式=常规|粗体|斜体|粗斜体
//   [MP3标签]  ID3v2文字编码=GBK|Unicode, 斜杠替换为=<text>, 其他音频格式=开|关
//   [命名选项] 冲突处理=按顺序|智能顺序
//   [界面]     界面语言=自动|中文|English

#include <cstdint>
#include <string>

#include "platform/atomic_file.h"
#include "platform/language.h"

namespace varnel {

// 界面语言: the language of the window; automatic follows the locale.
enum class LanguageChoice { automatic, chinese, english };

struct Settings {
    bool auto_preview = false;                   // 自动预览
    bool preview_all = false;                    // 全部预览
    std::int32_t preview_count = 10;             // 预览数量
    std::uint32_t font_colour = 0x800000;        // 字体颜色, 0x00BBGGRR
    std::uint32_t background_colour = 0x80A080;  // 背景颜色, 0x00BBGGRR
    std::string font_name = code_page("宋体");   // 字体名称, code page
    std::int32_t font_size = 10;                 // 字体大小, points
    bool bold = false;
    bool italic = false;
    // ID3v2文字编码: how the tag window writes changed ID3v2 texts, "GBK"
    // (false: code-page bytes, encoding 0) or "Unicode" (true: UTF-16).
    bool v2_unicode = false;
    // 冲突处理: "按顺序" (false: row by row) or "智能顺序" (true: chains and
    // cycles of names renamed in an order that works).
    bool smart_order = false;
    // 斜杠替换为: what the tag rule puts in a name for a '/' of a tag field
    // (code page; never holds '/' or NUL). Default "／", the full-width solidus.
    std::string slash_stand_in = default_slash_stand_in();
    // 其他音频格式: the tag rule also names FLAC, Ogg, M4A, APE, WMA and the
    // other formats of audio_formats.h ("开"), or MP3 files only ("关").
    bool other_audio_formats = false;
    // 界面语言: "自动" (automatic; also any value not known), "中文", "English".
    LanguageChoice language = LanguageChoice::automatic;

    // "／" in the code page.
    [[nodiscard]] static const std::string& default_slash_stand_in();

    friend bool operator==(const Settings&, const Settings&) = default;
};

// The path of config.ini in `folder` (file-system bytes; '/' added when missing).
[[nodiscard]] std::string config_path(const std::string& folder);

// Reads every key of config.ini, a missing file or key giving its default
// and a value that is not a number reading as 0.
[[nodiscard]] Settings load_settings(const std::string& path);

// Writes every key in one atomic replacement of the file (other keys and
// lines kept); converts to false with the errno value when it cannot be
// written.
[[nodiscard]] WriteResult save_settings(const std::string& path, const Settings& settings);

}  // namespace varnel
