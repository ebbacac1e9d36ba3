// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/update_check.h"

#include <cmath>
#include <cstdlib>

namespace varnel {

namespace {

constexpr std::string_view block_open = "////\xBF\xAA\xCA\xBC";                 // ////开始
constexpr std::string_view block_close = "////\xBD\xE1\xCA\xF8";                // ////结束
constexpr std::string_view latest_key = "\xD7\xEE\xD0\xC2\xB0\xE6=";            // 最新版=
constexpr std::string_view method_key = "\xCF\xC2\xD4\xD8\xB7\xBD\xCA\xBD=";    // 下载方式=
constexpr std::string_view notes_key = "\xB8\xFC\xD0\xC2\xCB\xB5\xC3\xF7=";     // 更新说明=
constexpr std::string_view open_web_page = "\xB4\xF2\xBF\xAA\xCD\xF8\xD2\xB3";  // 打开网页
constexpr std::string_view entry_end = "</p>";
constexpr double tolerance = 0.0000001;

void erase_all(std::string& text, std::string_view piece) {
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at))
        text.erase(at, piece.size());
}

}  // namespace

std::string extract(std::string_view text, std::string_view open, std::string_view close) {
    const std::size_t start = text.find(open);
    if (start == std::string_view::npos) return {};
    const std::string_view rest = text.substr(start + open.size());
    const std::size_t end = rest.find(close);
    if (end == std::string_view::npos) return {};
    return std::string(rest.substr(0, end));
}

double leading_number(std::string_view text) {
    // The digits, one '.', more digits: enough for version texts, and free
    // of the locale that strtod would follow.
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    double sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) sign = text[i++] == '-' ? -1 : 1;
    double value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    return sign * value;
}

UpdateVerdict judge_update_page(std::string_view page, std::string_view current_version) {
    const std::string block = extract(page, block_open, block_close);
    const std::string latest = extract(block, latest_key, entry_end);
    const double difference = leading_number(latest) - leading_number(current_version);
    UpdateVerdict verdict;
    if (std::fabs(difference) <= tolerance) {
        verdict.kind = UpdateVerdict::Kind::same;
    } else if (difference > tolerance) {
        verdict.kind = UpdateVerdict::Kind::newer;
        std::string notes = extract(block, notes_key, entry_end);
        erase_all(notes, "<p>");
        erase_all(notes, "</p>");
        verdict.prompt = "\xB5\xB1\xC7\xB0\xB0\xE6\xB1\xBE\xA3\xBA";  // 当前版本：
        verdict.prompt += current_version;
        verdict.prompt += "\r\n\xD7\xEE\xD0\xC2\xB0\xE6\xB1\xBE\xA3\xBA";  // 最新版本：
        verdict.prompt += latest;
        verdict.prompt += "\r\n\xB8\xFC\xD0\xC2\xC4\xDA\xC8\xDD\xA3\xBA";  // 更新内容：
        verdict.prompt += notes;
        verdict.open_home = extract(block, method_key, entry_end) == open_web_page;
    }
    return verdict;
}

}  // namespace varnel
