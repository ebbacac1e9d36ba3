// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/language.h"
#include "platform/profile.h"
#include "rename/name_text.h"

namespace varnel {
namespace {

// Section and key names of config.ini, in the code page: data, the same
// in every language.
const std::string& preview_section() {
    return code_page("预览选项");
}

const std::string& auto_preview_key() {
    return code_page("自动预览");
}

const std::string& preview_all_key() {
    return code_page("全部预览");
}

const std::string& preview_count_key() {
    return code_page("预览数量");
}

const std::string& colour_section() {
    return code_page("颜色");
}

const std::string& background_key() {
    return code_page("背景颜色");
}

const std::string& font_colour_key() {
    return code_page("字体颜色");
}

const std::string& font_section() {
    return code_page("字体");
}

const std::string& font_name_key() {
    return code_page("字体名称");
}

const std::string& font_size_key() {
    return code_page("字体大小");
}

const std::string& font_style_key() {
    return code_page("字体样式");
}

const std::string& tag_section() {
    return code_page("MP3标签");
}

const std::string& v2_encoding_key() {
    return code_page("ID3v2文字编码");
}

const std::string& naming_section() {
    return code_page("命名选项");
}

const std::string& order_key() {
    return code_page("冲突处理");
}

const std::string& in_order_text() {
    return code_page("按顺序");
}

const std::string& smart_order_text() {
    return code_page("智能顺序");
}

constexpr std::string_view gbk_text = "GBK";
constexpr std::string_view unicode_text = "Unicode";

// Values.
const std::string& on_text() {
    return code_page("开");
}

const std::string& off_text() {
    return code_page("关");
}

const std::string& regular_text() {
    return code_page("常规");
}

const std::string& bold_text() {
    return code_page("粗体");
}

const std::string& italic_text() {
    return code_page("斜体");
}

const std::string& bold_italic_text() {
    return code_page("粗斜体");
}

// Magnitudes are read up to this bound, which lies beyond every range a
// value is clamped to below, so clamping sees "too large" correctly.
constexpr unsigned long long magnitude_cap = 1ULL << 40;

// The leading decimal number of a value, as a floating-point parse reads it,
// truncated toward zero (see leading_decimal).
long long leading_integer(std::string_view text) {
    return leading_decimal(text, magnitude_cap);
}

// A number clamped to 32 bits.
std::int32_t read_int(std::string_view text) {
    using limits = std::numeric_limits<std::int32_t>;
    return static_cast<std::int32_t>(
        std::clamp<long long>(leading_integer(text), limits::min(), limits::max()));
}

// A colour: the number clamped to -2^31 .. 2^32-1, then taken as 32 bits
// (two's complement for negatives). Both a signed spelling ("-1") and an
// unsigned one ("4294967295") of the same bits thus read the same colour,
// and every value save_settings writes reads back unchanged.
std::uint32_t read_colour(std::string_view text) {
    const long long low = std::numeric_limits<std::int32_t>::min();
    const long long high = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(std::clamp(leading_integer(text), low, high));
}

bool read_switch(std::string_view text) {
    return text == on_text();
}

std::string_view style_text(bool bold, bool italic) {
    if (bold && italic) return bold_italic_text();
    if (bold) return bold_text();
    if (italic) return italic_text();
    return regular_text();
}

void read_style(std::string_view text, Settings& settings) {
    settings.bold = text == bold_text() || text == bold_italic_text();
    settings.italic = text == italic_text() || text == bold_italic_text();
}

// A stand-in as the settings may hold it: without '/' or NUL bytes (a
// '/' or NUL can never be part of a multi-byte code-page character).
std::string without_separators(std::string text) {
    std::erase_if(text, [](char c) { return c == '/' || c == '\0'; });
    return text;
}

LanguageChoice read_language(std::string_view text) {
    if (text == code_page("中文")) return LanguageChoice::chinese;
    if (text == "English") return LanguageChoice::english;
    return LanguageChoice::automatic;
}

std::string_view language_text(LanguageChoice choice) {
    switch (choice) {
        case LanguageChoice::chinese:
            return code_page("中文");
        case LanguageChoice::english:
            return "English";
        case LanguageChoice::automatic:
            break;
    }
    return code_page("自动");
}

}  // namespace

const std::string& Settings::default_slash_stand_in() {
    static const std::string stand_in = code_page("／");
    return stand_in;
}

std::string config_path(const std::string& folder) {
    if (folder.empty() || folder.back() == '/') return folder + "config.ini";
    return folder + "/config.ini";
}

Settings load_settings(const std::string& path) {
    Settings settings;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return settings;
    const auto read = [&path](std::string_view section, std::string_view key,
                              std::string_view fallback) {
        return read_profile_string(path, section, key, fallback);
    };
    settings.auto_preview = read_switch(read(preview_section(), auto_preview_key(), off_text()));
    settings.preview_all = read_switch(read(preview_section(), preview_all_key(), off_text()));
    settings.preview_count = read_int(read(preview_section(), preview_count_key(), "10"));
    settings.background_colour = read_colour(read(colour_section(), background_key(), "8429696"));
    settings.font_colour = read_colour(read(colour_section(), font_colour_key(), "8388608"));
    settings.font_name = read(font_section(), font_name_key(), Settings{}.font_name);
    settings.font_size = read_int(read(font_section(), font_size_key(), "10"));
    read_style(read(font_section(), font_style_key(), regular_text()), settings);
    settings.v2_unicode = read(tag_section(), v2_encoding_key(), gbk_text) == unicode_text;
    settings.smart_order =
        read(naming_section(), order_key(), in_order_text()) == smart_order_text();
    settings.slash_stand_in = without_separators(
        read(tag_section(), code_page("斜杠替换为"), Settings::default_slash_stand_in()));
    settings.other_audio_formats =
        read_switch(read(tag_section(), code_page("其他音频格式"), off_text()));
    settings.language = read_language(read(code_page("界面"), code_page("界面语言"), ""));
    return settings;
}

WriteResult save_settings(const std::string& path, const Settings& settings) {
    std::vector<ProfileEntry> entries;
    const auto write = [&entries](std::string_view section, std::string_view key,
                                  std::string_view value) {
        entries.push_back({std::string(section), std::string(key), std::string(value)});
    };
    write(preview_section(), auto_preview_key(), settings.auto_preview ? on_text() : off_text());
    write(preview_section(), preview_all_key(), settings.preview_all ? on_text() : off_text());
    write(preview_section(), preview_count_key(), std::to_string(settings.preview_count));
    write(colour_section(), background_key(), std::to_string(settings.background_colour));
    write(colour_section(), font_colour_key(), std::to_string(settings.font_colour));
    write(font_section(), font_name_key(), settings.font_name);
    write(font_section(), font_size_key(), std::to_string(settings.font_size));
    write(font_section(), font_style_key(), style_text(settings.bold, settings.italic));
    write(tag_section(), v2_encoding_key(), settings.v2_unicode ? unicode_text : gbk_text);
    write(tag_section(), code_page("斜杠替换为"), settings.slash_stand_in);
    // Like the language below: written once turned on, so files of MP3-only
    // users keep their keys.
    if (settings.other_audio_formats ||
        !read_profile_string(path, tag_section(), code_page("其他音频格式"), "").empty())
        write(tag_section(), code_page("其他音频格式"),
              settings.other_audio_formats ? on_text() : off_text());
    write(naming_section(), order_key(),
          settings.smart_order ? smart_order_text() : in_order_text());
    // The file keeps the five sections it has always had until a language is
    // chosen; once the key is there it follows every change.
    if (settings.language != LanguageChoice::automatic ||
        !read_profile_string(path, code_page("界面"), code_page("界面语言"), "").empty())
        write(code_page("界面"), code_page("界面语言"), language_text(settings.language));
    return write_profile_strings(path, entries);
}

}  // namespace varnel
