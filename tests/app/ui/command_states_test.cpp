// SPDX-License-Identifier: GPL-3.0-or-later
// The commands' enabled states follow the list, its selection and the rule
// page as they change, whoever changes them — no right-click or command
// needed first — and Qt's selection is the one the commands act on.

#include <gtest/gtest.h>

#include <QAction>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_view.h"
#include "filelist/ui/list_context_menu.h"
#include "rename/ui/rule_tabs.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

struct States {
    bool preview, rename, undo, fix_names, remove_selected, fix_tags, remove_without_tag;
    bool operator==(const States&) const = default;
};

std::ostream& operator<<(std::ostream& out, const States& s) {
    return out << "preview " << s.preview << " rename " << s.rename << " undo " << s.undo
               << " fix_names " << s.fix_names << " remove_selected " << s.remove_selected
               << " fix_tags " << s.fix_tags << " remove_without_tag " << s.remove_without_tag;
}

States states_of(const MainWindow& window) {
    const ListContextMenu& menu = *window.context_menu();
    return States{window.preview_action()->isEnabled(), window.rename_action()->isEnabled(),
                  window.undo_action()->isEnabled(),    window.fix_names_action()->isEnabled(),
                  menu.remove_selected->isEnabled(),    menu.fix_tags->isEnabled(),
                  menu.remove_without_tag->isEnabled()};
}

TEST(CommandStates, FollowTheListTheSelectionAndThePage) {
    const Codec codec;
    test::FakeUiServices ui;
    const test::TempDir config;
    const test::TempDir files;
    files.write_file("a.txt");
    files.write_file("b.mp3");
    MainWindow window(
        MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
    FileListView& view = *window.list_view();
    const struct Step {
        const char* what;
        std::function<void()> act;
        States expected;
    } steps[] = {
        {"empty list", [] {}, {false, false, false, false, false, false, false}},
        {"two items added",
         [&] {
             ui.file_choices.push_back({files.path() + "a.txt", files.path() + "b.mp3"});
             window.add_files_action()->trigger();
         },
         {true, true, false, false, false, false, false}},
        {"the text file selected",
         [&] { view.selectRow(0); },
         {true, true, false, true, true, false, false}},
        {"the MP3 file selected too",
         [&] {
             view.selectionModel()->select(view.model()->index(1, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
         },
         {true, true, false, true, true, true, false}},
        {"the tag page shown",
         [&] { window.rule_tabs()->setCurrentIndex(4); },
         {true, true, false, true, true, true, true}},
        {"the selected text file removed",
         [&] {
             view.clearSelection();
             view.selectRow(0);
             window.remove_selected_items();
         },
         {true, true, false, false, false, false, true}},
        {"the list emptied",
         [&] { window.context_menu()->clear->trigger(); },
         {false, false, false, false, false, false, false}},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(states_of(window), step.expected) << step.what;
    }
    ASSERT_EQ(window.list().item_count(), 0);
}

// Removing the selected rows takes exactly the rows Qt's selection marks,
// also after rows moved up under an earlier removal.
TEST(CommandStates, RemovalTakesTheRowsSelectedInTheView) {
    const Codec codec;
    test::FakeUiServices ui;
    const test::TempDir config;
    const test::TempDir files;
    std::vector<std::string> chosen;
    for (const char* name : {"a", "b", "c", "d", "e"}) {
        files.write_file(name);
        chosen.push_back(files.path() + name);
    }
    MainWindow window(
        MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
    ui.file_choices.push_back(chosen);
    window.add_files_action()->trigger();
    FileListView& view = *window.list_view();
    view.selectRow(1);
    window.remove_selected_items();  // b
    view.selectRow(1);
    view.selectionModel()->select(view.model()->index(3, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window.remove_selected_items();  // c and e
    std::vector<std::string> left;
    for (const std::string& name : window.list().old_names()) left.push_back(name);
    EXPECT_EQ(left, (std::vector<std::string>{"a", "d"}));
    EXPECT_EQ(window.status_text(0), QStringLiteral("2个文件"));
}

}  // namespace
}  // namespace varnel
