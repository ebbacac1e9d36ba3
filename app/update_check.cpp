// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/update_check.h"

#include <cmath>
#include <cstdlib>

#include "platform/language.h"

namespace varnel {

namespace {

// The markers and entry names of the update page (data, in the code page).
const std::string& block_open() {
    return code_page("////开始");
}

const std::string& block_close() {
    return code_page("////结束");
}

const std::string& latest_key() {
    return code_page("最新版=");
}

const std::string& method_key() {
    return code_page("下载方式=");
}

const std::string& notes_key() {
    return code_page("更新说明=");
}

// The download method that means "open the home page".
const std::string& open_web_page() {
    return code_page("打开网页");
}

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

double version_number(std::string_view text) {
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
    const std::string block = extract(page, block_open(), block_close());
    const std::string latest = extract(block, latest_key(), entry_end);
    const double difference = version_number(latest) - version_number(current_version);
    UpdateVerdict verdict;
    if (std::fabs(difference) <= tolerance) {
        verdict.kind = UpdateVerdict::Kind::same;
    } else if (difference > tolerance) {
        verdict.kind = UpdateVerdict::Kind::newer;
        std::string notes = extract(block, notes_key(), entry_end);
        erase_all(notes, "<p>");
        erase_all(notes, "</p>");
        verdict.prompt = say("当前版本：", "Current version: ");
        verdict.prompt += current_version;
        verdict.prompt += say("\r\n最新版本：", "\r\nLatest version: ");
        verdict.prompt += latest;
        verdict.prompt += say("\r\n更新内容：", "\r\nWhat is new: ");
        verdict.prompt += notes;
        verdict.open_home = extract(block, method_key(), entry_end) == open_web_page();
    }
    return verdict;
}

}  // namespace varnel
