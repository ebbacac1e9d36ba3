// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/status_words.h"

#include <array>
#include <utility>

#include "platform/language.h"

namespace varnel {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 12> twins{{
    {"更名成功", "Renamed"},
    {"更名失败", "Rename failed"},
    {"撤消成功", "Undone"},
    {"撤消失败", "Undo failed"},
    {"无标签", "No tag"},
    {"非MP3文件", "Not an MP3 file"},
    {"将转换", "Will convert"},
    {"已转换", "Converted"},
    {"将添加ID3v2标签", "Will add an ID3v2 tag"},
    {"已添加ID3v2标签", "Added an ID3v2 tag"},
    {"无需转换", "Nothing to convert"},
    {"转换失败", "Conversion failed"},
}};

bool ends_word(std::string_view rest) {
    return rest.empty() || rest.front() == ' ' || rest.starts_with(code_page("："));
}

}  // namespace

std::string status_for_people(std::string_view cell) {
    if (text_language() == Language::chinese) return std::string(cell);
    for (const auto& [chinese, english] : twins) {
        const std::string& word = code_page(chinese);
        if (cell.starts_with(word) && ends_word(cell.substr(word.size())))
            return std::string(english) + std::string(cell.substr(word.size()));
    }
    return std::string(cell);
}

}  // namespace varnel
