// SPDX-License-Identifier: GPL-3.0-or-later
// 保存预设… and 载入预设… in the window: every control of every page comes
// back byte for byte, a chain comes back on, a damaged file changes nothing.

#include <gtest/gtest.h>

#include <QAction>

#include "app/ui/main_window.h"
#include "rename/ui/chain_panel.h"
#include "rename/ui/rule_tabs.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

// Every field away from its default; texts with GBK characters and spaces.
RulePages unusual_pages(const Codec& codec, RulePage active) {
    const auto gbk = [&codec](const char* utf8) { return codec.from_utf8(utf8).value(); };
    RulePages p;
    p.active = active;
    p.number = {NameScope::both,
                gbk(" 前缀"),
                gbk("歌曲"),
                "3",
                gbk("后缀 "),
                "x",
                "mp",
                "2",
                "y",
                "7",
                "5"};
    p.replace = {gbk("旧 词"), gbk("新\\词"), true, NameScope::extension, true};
    p.insert = {gbk("插入"), gbk("扩展"), true, "4", true, "2"};
    p.letter_case = {CaseChoice::title_case, CaseChoice::first_lower};
    p.tags.tag_template = gbk("#1 - 歌#2");
    p.tags.v1_first = true;
    return p;
}

class PresetWindowTest : public ::testing::Test {
protected:
    PresetWindowTest()
        : window(MainWindowSetup{codec, ui, config.path() + "config.ini",
                                 config.path() + "dir.txt"}) {}

    Codec codec;
    FakeUiServices ui;
    TempDir config;
    MainWindow window;
};

TEST_F(PresetWindowTest, EveryPageComesBackByteForByte) {
    for (const RulePage page : {RulePage::number, RulePage::replace, RulePage::insert,
                                RulePage::letter_case, RulePage::tags}) {
        const RulePages pages = unusual_pages(codec, page);
        const std::string expected = preset_text(Preset{false, {RuleStep{pages, true}}, {}});
        window.rule_tabs()->set_pages(pages);
        const std::string path = config.path() + "p" + std::to_string(static_cast<int>(page));
        ui.save_choices.push_back(path);
        window.save_preset_action()->trigger();
        EXPECT_EQ(config.read_file(path.substr(config.path().size())), expected);

        window.rule_tabs()->set_pages(RulePages{});  // every control back to its default
        ui.file_choices.push_back({path});
        window.load_preset_action()->trigger();
        EXPECT_EQ(window.rule_tabs()->active_page(), page);
        EXPECT_EQ(preset_text(window.current_preset()), expected) << static_cast<int>(page);
        EXPECT_EQ(window.recent_presets().front(), path);
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(window.recent_presets().size(), recent_preset_count);
}

TEST_F(PresetWindowTest, AChainComesBackOn) {
    std::vector<RuleStep> steps;
    for (const RulePage page : {RulePage::replace, RulePage::number, RulePage::letter_case})
        steps.push_back({unusual_pages(codec, page), page != RulePage::number});
    const std::string text = preset_text(Preset{true, steps, {}});
    config.write_file("chain", text);
    window.load_preset(config.path() + "chain");
    EXPECT_TRUE(window.chain_panel()->is_on());
    EXPECT_TRUE(window.chain_action()->isChecked());
    EXPECT_EQ(preset_text(window.current_preset()), text);
}

TEST_F(PresetWindowTest, ADamagedPresetChangesNothingAndSaysWhy) {
    const RulePages pages = unusual_pages(codec, RulePage::insert);
    window.rule_tabs()->set_pages(pages);
    const std::string before = preset_text(window.current_preset());
    std::string damaged = preset_text(Preset{false, {RuleStep{RulePages{}, true}}, {}});
    damaged.replace(damaged.find("=1"), 2, "=9");  // a version from the future
    config.write_file("damaged", damaged);
    window.load_preset(config.path() + "damaged");
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::error);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("damaged")));
    EXPECT_EQ(preset_text(window.current_preset()), before);
    EXPECT_TRUE(window.recent_presets().empty());
}

}  // namespace
}  // namespace varnel
