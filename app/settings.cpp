#include "app/settings.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <string_view>
#include <system_error>

#include "platform/profile.h"

namespace varnel {
namespace {

// Section and key names of config.ini, in the code page.
constexpr std::string_view preview_section = "\xD4\xA4\xC0\xC0\xD1\xA1\xCF\xEE";    // 预览选项
constexpr std::string_view auto_preview_key = "\xD7\xD4\xB6\xAF\xD4\xA4\xC0\xC0";   // 自动预览
constexpr std::string_view preview_all_key = "\xC8\xAB\xB2\xBF\xD4\xA4\xC0\xC0";    // 全部预览
constexpr std::string_view preview_count_key = "\xD4\xA4\xC0\xC0\xCA\xFD\xC1\xBF";  // 预览数量
constexpr std::string_view colour_section = "\xD1\xD5\xC9\xAB";                     // 颜色
constexpr std::string_view background_key = "\xB1\xB3\xBE\xB0\xD1\xD5\xC9\xAB";     // 背景颜色
constexpr std::string_view font_colour_key = "\xD7\xD6\xCC\xE5\xD1\xD5\xC9\xAB";    // 字体颜色
constexpr std::string_view font_section = "\xD7\xD6\xCC\xE5";                       // 字体
constexpr std::string_view font_name_key = "\xD7\xD6\xCC\xE5\xC3\xFB\xB3\xC6";      // 字体名称
constexpr std::string_view font_size_key = "\xD7\xD6\xCC\xE5\xB4\xF3\xD0\xA1";      // 字体大小
constexpr std::string_view font_style_key = "\xD7\xD6\xCC\xE5\xD1\xF9\xCA\xBD";     // 字体样式

// Values.
constexpr std::string_view on_text = "\xBF\xAA";                           // 开
constexpr std::string_view off_text = "\xB9\xD8";                          // 关
constexpr std::string_view regular_text = "\xB3\xA3\xB9\xE6";              // 常规
constexpr std::string_view bold_text = "\xB4\xD6\xCC\xE5";                 // 粗体
constexpr std::string_view italic_text = "\xD0\xB1\xCC\xE5";               // 斜体
constexpr std::string_view bold_italic_text = "\xB4\xD6\xD0\xB1\xCC\xE5";  // 粗斜体

// Magnitudes are read up to this bound, which lies beyond every range a
// value is clamped to below, so clamping sees "too large" correctly.
constexpr long long magnitude_cap = 1LL << 40;

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// A run of decimal digits from `at`; `at` ends after it.
std::string_view digit_run(std::string_view text, std::size_t& at) {
    const std::size_t begin = at;
    while (at < text.size() && is_digit(text[at])) ++at;
    return text.substr(begin, at - begin);
}

// An exponent ('e' or 'E', optional sign, at least one digit) at `at`, or 0
// when there is none. Large exponents are capped; they only need to push the
// value past magnitude_cap or below 1.
long long read_exponent(std::string_view text, std::size_t at) {
    if (at >= text.size() || (text[at] != 'e' && text[at] != 'E')) return 0;
    ++at;
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const std::string_view digits = digit_run(text, at);
    long long exponent = 0;
    for (const char c : digits) exponent = std::min(exponent * 10 + (c - '0'), 100000LL);
    return negative ? -exponent : exponent;
}

// The integer part of the number whose digits are `digits` (integer and
// fraction digits together) with the decimal point after `point` of them;
// `point` may lie beyond the digits (zeros follow) or before them (0).
long long integer_part(std::string_view digits, long long point) {
    long long value = 0;
    for (long long i = 0; i < point && value < magnitude_cap; ++i) {
        const int digit = i < static_cast<long long>(digits.size())
                              ? digits[static_cast<std::size_t>(i)] - '0'
                              : 0;
        value = value * 10 + digit;
    }
    return std::min(value, magnitude_cap);
}

// The leading decimal number of `text` (spaces and tabs, sign, digits,
// fraction, exponent), truncated toward zero; its magnitude is capped at
// magnitude_cap. Text that does not start with a number gives 0. No locale:
// the decimal point is always '.', and hexadecimal, "inf" and "nan" are not
// numbers here.
long long leading_number(std::string_view text) {
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string_view::npos) return 0;
    const bool negative = text[at] == '-';
    if (text[at] == '+' || text[at] == '-') ++at;
    std::string digits(digit_run(text, at));
    const long long point = static_cast<long long>(digits.size());
    if (at < text.size() && text[at] == '.') digits += digit_run(text, ++at);
    if (digits.empty()) return 0;
    const long long value = integer_part(digits, point + read_exponent(text, at));
    return negative ? -value : value;
}

// A number clamped to 32 bits.
std::int32_t read_int(std::string_view text) {
    using limits = std::numeric_limits<std::int32_t>;
    return static_cast<std::int32_t>(
        std::clamp<long long>(leading_number(text), limits::min(), limits::max()));
}

// A colour: the number clamped to -2^31 .. 2^32-1, then taken as 32 bits
// (two's complement for negatives). Both a signed spelling ("-1") and an
// unsigned one ("4294967295") of the same bits thus read the same colour,
// and every value save_settings writes reads back unchanged.
std::uint32_t read_colour(std::string_view text) {
    const long long low = std::numeric_limits<std::int32_t>::min();
    const long long high = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(std::clamp(leading_number(text), low, high));
}

bool read_switch(std::string_view text) {
    return text == on_text;
}

std::string_view style_text(bool bold, bool italic) {
    if (bold && italic) return bold_italic_text;
    if (bold) return bold_text;
    if (italic) return italic_text;
    return regular_text;
}

void read_style(std::string_view text, Settings& settings) {
    settings.bold = text == bold_text || text == bold_italic_text;
    settings.italic = text == italic_text || text == bold_italic_text;
}

}  // namespace

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
    settings.auto_preview = read_switch(read(preview_section, auto_preview_key, off_text));
    settings.preview_all = read_switch(read(preview_section, preview_all_key, off_text));
    settings.preview_count = read_int(read(preview_section, preview_count_key, "10"));
    settings.background_colour = read_colour(read(colour_section, background_key, "8429696"));
    settings.font_colour = read_colour(read(colour_section, font_colour_key, "8388608"));
    settings.font_name = read(font_section, font_name_key, Settings{}.font_name);
    settings.font_size = read_int(read(font_section, font_size_key, "10"));
    read_style(read(font_section, font_style_key, regular_text), settings);
    return settings;
}

bool save_settings(const std::string& path, const Settings& settings) {
    bool ok = true;
    const auto write = [&path, &ok](std::string_view section, std::string_view key,
                                    std::string_view value) {
        ok = write_profile_string(path, section, key, value) && ok;
    };
    write(preview_section, auto_preview_key, settings.auto_preview ? on_text : off_text);
    write(preview_section, preview_all_key, settings.preview_all ? on_text : off_text);
    write(preview_section, preview_count_key, std::to_string(settings.preview_count));
    write(colour_section, background_key, std::to_string(settings.background_colour));
    write(colour_section, font_colour_key, std::to_string(settings.font_colour));
    write(font_section, font_name_key, settings.font_name);
    write(font_section, font_size_key, std::to_string(settings.font_size));
    write(font_section, font_style_key, style_text(settings.bold, settings.italic));
    return ok;
}

}  // namespace varnel
