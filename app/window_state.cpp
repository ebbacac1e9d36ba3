// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_state.h"

#include <charconv>
#include <vector>

#include "platform/language.h"
#include "platform/profile.h"

namespace varnel {
namespace {

const std::string& section() {
    return code_page("窗口状态");
}

std::string read(const std::string& path, std::string_view utf8_key) {
    return read_profile_string(path, section(), code_page(utf8_key), "");
}

bool read_switch(const std::string& path, std::string_view utf8_key) {
    return read(path, utf8_key) == code_page("开");
}

std::string_view switch_text(bool on) {
    return on ? code_page("开") : code_page("关");
}

std::optional<int> whole_number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<WindowGeometry> read_geometry(std::string_view text) {
    std::vector<int> numbers;
    for (;;) {
        const std::size_t comma = text.find(',');
        const auto number = whole_number(text.substr(0, comma));
        if (!number || numbers.size() == 4) return std::nullopt;
        numbers.push_back(*number);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (numbers.size() != 4 || numbers[2] <= 0 || numbers[3] <= 0) return std::nullopt;
    return WindowGeometry{numbers[0], numbers[1], numbers[2], numbers[3]};
}

std::optional<Preset> read_chain(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const auto unescaped = unescaped_preset_value(text);
    if (!unescaped) return std::nullopt;
    PresetRead chain = read_preset_text(*unescaped);
    if (!chain.error.empty()) return std::nullopt;
    return std::move(chain.preset);
}

std::string quoted_value(std::string_view value) {
    return "\"" + std::string(value) + "\"";
}

}  // namespace

WindowState load_window_state(const std::string& path) {
    WindowState state;
    state.geometry = read_geometry(read(path, "位置"));
    state.maximized = read_switch(path, "最大化");
    state.last_folder = read(path, "上次文件夹");
    state.include_subfolders = read_switch(path, "包含子文件夹");
    const auto page = whole_number(read(path, "当前页"));
    state.active_page = page && *page >= 0 && *page <= 4 ? *page : 0;
    state.chain_on = read_switch(path, "规则链");
    state.chain = read_chain(read(path, "规则链内容"));
    for (int slot = 1; slot <= recent_preset_slots; ++slot) {
        std::string recent = read(path, "最近预设" + std::to_string(slot));
        if (!recent.empty()) state.recent_presets.push_back(std::move(recent));
    }
    state.size_column = read_switch(path, "大小列");
    state.modified_column = read_switch(path, "修改时间列");
    return state;
}

WriteResult save_window_state(const std::string& path, const WindowState& state) {
    std::vector<ProfileEntry> entries;
    const auto write = [&entries](std::string_view utf8_key, std::string value) {
        entries.push_back({section(), code_page(utf8_key), std::move(value)});
    };
    if (state.geometry) {
        const WindowGeometry& g = *state.geometry;
        write("位置", std::to_string(g.x) + ',' + std::to_string(g.y) + ',' +
                          std::to_string(g.width) + ',' + std::to_string(g.height));
    }
    write("最大化", std::string(switch_text(state.maximized)));
    const bool folder_fits = state.last_folder.find_first_of("\r\n") == std::string::npos;
    write("上次文件夹", quoted_value(folder_fits ? state.last_folder : std::string()));
    write("包含子文件夹", std::string(switch_text(state.include_subfolders)));
    write("当前页", std::to_string(state.active_page));
    write("规则链", std::string(switch_text(state.chain_on)));
    write("规则链内容", quoted_value(state.chain ? escaped_preset_value(preset_text(*state.chain))
                                                 : std::string()));
    for (int slot = 1; slot <= recent_preset_slots; ++slot) {
        const auto index = static_cast<std::size_t>(slot - 1);
        const std::string recent =
            index < state.recent_presets.size() ? state.recent_presets[index] : std::string();
        const bool fits = recent.find_first_of("\r\n") == std::string::npos;
        write("最近预设" + std::to_string(slot), quoted_value(fits ? recent : std::string()));
    }
    write("大小列", std::string(switch_text(state.size_column)));
    write("修改时间列", std::string(switch_text(state.modified_column)));
    return write_profile_strings(path, entries);
}

}  // namespace varnel
