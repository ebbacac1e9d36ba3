// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_state.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/settings.h"
#include "platform/language.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

class WindowStateFile : public testing::Test {
protected:
    test::TempDir dir_;
    std::string path_ = dir_.path() + "config.ini";

    void write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    std::string contents() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

Preset two_step_chain() {
    RuleStep replace;
    replace.rule.active = RulePage::replace;
    replace.rule.replace.find = " a\\b\n";
    replace.rule.replace.with = code_page("　全角 ");
    RuleStep number;
    number.rule.active = RulePage::number;
    number.enabled = false;
    return Preset{true, {replace, number}, {}};
}

TEST_F(WindowStateFile, EverythingReadsBackAndTheSettingsStayAsTheyWere) {
    Settings settings;
    settings.preview_count = 77;
    ASSERT_TRUE(save_settings(path_, settings));
    WindowState state;
    state.geometry = WindowGeometry{-20, 35, 900, 640};
    state.maximized = true;
    state.last_folder = " /media/stick/" + std::string("\xD2\xF4\xC0\xD6") + " ";  // GBK bytes
    state.include_subfolders = true;
    state.active_page = 3;
    state.chain_on = true;
    state.chain = two_step_chain();
    state.modified_column = true;
    ASSERT_TRUE(save_window_state(path_, state));

    const WindowState read = load_window_state(path_);
    EXPECT_EQ(read.geometry, state.geometry);
    EXPECT_TRUE(read.maximized);
    EXPECT_EQ(read.last_folder, state.last_folder);
    EXPECT_TRUE(read.include_subfolders);
    EXPECT_EQ(read.active_page, 3);
    EXPECT_TRUE(read.chain_on);
    ASSERT_TRUE(read.chain);
    EXPECT_EQ(preset_text(*read.chain), preset_text(*state.chain));
    EXPECT_FALSE(read.size_column);
    EXPECT_TRUE(read.modified_column);
    EXPECT_EQ(load_settings(path_), settings);
    // One line per key, whatever the chain holds.
    EXPECT_EQ(contents().find("\n\n"), std::string::npos);
}

TEST_F(WindowStateFile, ValuesThatDoNotReadAreNotRemembered) {
    const auto key = [](std::string_view utf8, std::string_view value) {
        return code_page(utf8) + "=" + std::string(value) + "\n";
    };
    write("[" + code_page("窗口状态") + "]\n" + key("位置", "1,2,0,5") + key("当前页", "9") +
          key("规则链内容", "\"[x]\"") + key("最大化", "yes"));
    const WindowState read = load_window_state(path_);
    EXPECT_FALSE(read.geometry);
    EXPECT_EQ(read.active_page, 0);
    EXPECT_FALSE(read.chain);
    EXPECT_FALSE(read.maximized);
    for (const char* geometry : {"1,2,3", "1,2,3,4,5", "a,2,3,4", "1,2,3,4x", ""}) {
        write("[" + code_page("窗口状态") + "]\n" + key("位置", geometry));
        EXPECT_FALSE(load_window_state(path_).geometry) << geometry;
    }
}

TEST_F(WindowStateFile, AFolderWithALineBreakIsNotRemembered) {
    WindowState state;
    state.last_folder = "/tmp/a\nb/";
    ASSERT_TRUE(save_window_state(path_, state));
    EXPECT_EQ(load_window_state(path_).last_folder, "");
}

}  // namespace
}  // namespace varnel
