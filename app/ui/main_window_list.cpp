// SPDX-License-Identifier: GPL-3.0-or-later
// The list's gestures, its context menu, and taking items out of the list.

#include <QAction>
#include <algorithm>

#include "app/ui/about_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/settings_dialog.h"
#include "filelist/context_menu_state.h"
#include "filelist/ui/file_list_model.h"
#include "filelist/ui/file_list_view.h"
#include "filelist/ui/filter_dialog.h"
#include "filelist/ui/list_context_menu.h"
#include "id3/ui/tag_dialog.h"
#include "id3/ui/tag_fix_dialog.h"
#include "platform/ui/ui_services.h"
#include "rename/batch_texts.h"
#include "rename/name_text.h"
#include "rename/ui/rule_tabs.h"

namespace varnel {

void MainWindow::show_context_menu(const QPoint& position) {
    const std::vector<int> selected = view_->selected_rows();
    const bool mp3_selected = std::any_of(selected.begin(), selected.end(), [this](int row) {
        return has_extension(list_.old_names()[static_cast<std::size_t>(row)], "MP3");
    });
    context_menu_->set_state(
        context_menu_state(list_.item_count(), static_cast<int>(selected.size()),
                           tabs_->active_page() == RulePage::tags, mp3_selected));
    context_menu_->popup(position);
}

// No row selected: add files. An MP3 item: its tag window. Anything else: nothing.
void MainWindow::list_double_clicked() {
    const int row = view_->first_selected_row();
    if (row < 0) {
        add_files();
        return;
    }
    if (has_extension(list_.old_names()[static_cast<std::size_t>(row)], "MP3")) show_tag_info();
}

void MainWindow::fix_tags_command() {
    std::vector<std::string> paths;
    for (const int row : view_->selected_rows()) {
        if (!has_extension(list_.old_names()[static_cast<std::size_t>(row)], "MP3")) continue;
        paths.push_back(list_.item_folder(row).fs + list_.fs_name(row));
    }
    if (!paths.empty()) run_tag_fix(this, paths, services_, codec_, false);
}

void MainWindow::show_tag_info() {
    const int row = view_->first_selected_row();
    if (row < 0) return;
    if (!has_extension(list_.old_names()[static_cast<std::size_t>(row)], "MP3")) {
        services_.message_box(nullptr, code_page_text(texts::message_title()),
                              QStringLiteral("抱歉，该文件不是MP3文件！"), MessageIcon::warning,
                              MessageButtons::ok);
        return;
    }
    const ItemFolder& folder = list_.item_folder(row);
    TagDialog dialog(folder.fs + list_.fs_name(row),
                     folder.text + list_.old_names()[static_cast<std::size_t>(row)], codec_,
                     services_, this,
                     settings_.v2_unicode ? V2TextEncoding::unicode : V2TextEncoding::code_page);
    if (dialog.load()) dialog.exec();
}

void MainWindow::sync_selection_to_list() {
    list_.unselect_all();
    for (int row : view_->selected_rows()) list_.select_row(row);
}

// Removes the rows selected in the list (FileList's marks), keeping every
// other item's new name.
void MainWindow::remove_list_selection() {
    list_.remove_selected_items();
    view_->clearSelection();  // every marked row went; the view shows no mark either
    refresh_file_count();
    update_buttons();  // the undo of the last batch stays, whatever rows went
}

void MainWindow::remove_selected_items() {
    const BusyCursor busy(services_);
    sync_selection_to_list();
    remove_list_selection();
}

void MainWindow::clear_list() {
    list_.clear();
    refresh_file_count();
    update_buttons();
}

// Exactly the items the tag rule marked go.
void MainWindow::remove_items_without_tag() {
    flush_preview();  // the marks of every row
    const BusyCursor busy(services_);
    list_.unselect_all();
    for (int row = 0; row < list_.item_count(); ++row)
        if (!list_.get_cell(row, Column::tag_status).empty()) list_.select_row(row);
    remove_list_selection();
}

void MainWindow::open_filter() {
    FilterDialog dialog(*model_, codec_, services_, this);
    connect(&dialog, &FilterDialog::filtered, this, [this] {
        refresh_file_count();
        update_buttons();
    });
    dialog.exec();
}

void MainWindow::open_about() {
    AboutDialog dialog(codec_, services_, this);
    dialog.exec();
}

void MainWindow::open_settings() {
    SettingsDialog dialog(
        settings_, codec_, services_, [this] { apply_settings_to_list(); }, this);
    dialog.exec();
}

}  // namespace varnel
