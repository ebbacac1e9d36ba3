// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/status_words.h"

#include <array>
#include <utility>
#include <vector>

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

struct Twin {
    const std::string& word;  // code page
    std::string_view english;
};

// The words in the code page, converted once: the list asks for every
// status cell it paints.
const std::vector<Twin>& code_page_twins() {
    static const std::vector<Twin> converted = [] {
        std::vector<Twin> out;
        for (const auto& [chinese, english] : twins) out.push_back({code_page(chinese), english});
        return out;
    }();
    return converted;
}

bool ends_word(std::string_view rest) {
    static const std::string& colon = code_page("：");
    return rest.empty() || rest.front() == ' ' || rest.starts_with(colon);
}

}  // namespace

std::string status_for_people(std::string_view cell) {
    if (text_language() == Language::chinese) return std::string(cell);
    for (const Twin& twin : code_page_twins()) {
        if (cell.starts_with(twin.word) && ends_word(cell.substr(twin.word.size())))
            return std::string(twin.english) + std::string(cell.substr(twin.word.size()));
    }
    return std::string(cell);
}

}  // namespace varnel
