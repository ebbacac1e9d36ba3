// SPDX-License-Identifier: GPL-3.0-or-later
// A window closed and opened again on the same config.ini comes back as it
// was left: place, the chooser's folder and 包含子文件夹, the page, the
// chain, recent presets.

#include <gtest/gtest.h>

#include <QAction>

#include "app/ui/main_window.h"
#include "app/window_state.h"
#include "rename/ui/chain_panel.h"
#include "rename/ui/rule_tabs.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

TEST(WindowStateWindow, AReopenedWindowIsAsItWasLeft) {
    const Codec codec;
    FakeUiServices ui;
    const TempDir config;
    const TempDir files;
    files.write_file("a.txt");
    const MainWindowSetup setup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"};
    RuleStep step;
    step.rule.active = RulePage::replace;
    step.rule.replace.find = "a";
    {
        MainWindow window(setup);
        window.setGeometry(40, 50, 900, 700);
        ui.folder_choices.push_back(files.path());
        ui.subfolder_choices.push_back(true);
        window.add_folder();
        window.chain_action()->trigger();
        window.chain_panel()->set_steps({step, step});
        window.chain_panel()->set_on(true);
        window.rule_tabs()->setCurrentIndex(3);
        config.write_file("p.varnel", preset_text(window.current_preset()));
        window.load_preset(config.path() + "p.varnel");
    }
    const WindowState kept = load_window_state(setup.config_path);
    ASSERT_TRUE(kept.geometry);
    EXPECT_EQ(kept.geometry->width, 900);
    EXPECT_EQ(kept.geometry->height, 700);
    EXPECT_TRUE(kept.include_subfolders);

    MainWindow again(setup);
    EXPECT_EQ(again.size(), QSize(900, 700));
    EXPECT_EQ(again.rule_tabs()->currentIndex(), 3);
    EXPECT_TRUE(again.chain_panel()->is_on());
    EXPECT_TRUE(again.chain_action()->isChecked());
    ASSERT_EQ(again.chain_panel()->steps().size(), 2U);
    EXPECT_EQ(again.chain_panel()->steps()[1].rule.replace.find, "a");
    EXPECT_EQ(again.recent_presets(), std::vector<std::string>{config.path() + "p.varnel"});
    again.add_folder();  // cancelled; it opened where the last choice was made
    ASSERT_EQ(ui.choose_folder_starts.size(), 2U);
    EXPECT_EQ(ui.choose_folder_starts[1], files.path());
    // 包含子文件夹 as it was last chosen, not as the chooser starts.
    EXPECT_EQ(ui.subfolders_offered, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace varnel
