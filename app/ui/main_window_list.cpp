// SPDX-License-Identifier: GPL-3.0-or-later
// The list's gestures, its context menu, and taking items out of the list.

#include <QAction>
#include <algorithm>

#include "app/ui/about_dialog.h"
#include "app/ui/main_window.h"
#include "app/ui/settings_dialog.h"
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

// The items' states are current already (see update_buttons).
void MainWindow::show_context_menu(const QPoint& position) {
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
    if (paths.empty()) return;
    run_tag_fix(this, paths, services_, codec_, false,
                [this](const std::string& journal) { tag_batch_finished(journal); });
    read_shown_facts(0);  // rewritten tags changed the files
}

void MainWindow::show_tag_info() {
    const int row = view_->first_selected_row();
    if (row < 0) return;
    if (!has_extension(list_.old_names()[static_cast<std::size_t>(row)], "MP3")) {
        services_.message_box(nullptr, code_page_text(texts::message_title()),
                              tr("抱歉，该文件不是MP3文件！"), MessageIcon::warning,
                              MessageButtons::ok);
        return;
    }
    const ItemFolder& folder = list_.item_folder(row);
    TagDialog dialog(folder.fs + list_.fs_name(row),
                     folder.text + list_.old_names()[static_cast<std::size_t>(row)], codec_,
                     services_, this,
                     settings_.v2_unicode ? V2TextEncoding::unicode : V2TextEncoding::code_page);
    if (dialog.load()) dialog.exec();
    read_shown_facts(row, row + 1);  // a tag written changed the file
}

void MainWindow::sync_selection_to_list() {
    list_.unselect_all();
    for (int row : view_->selected_rows()) list_.select_row(row);
}

// The undo of the last batch stays, whatever rows go.
void MainWindow::remove_rows(const std::function<bool(int)>& remove) {
    view_->clearSelection();  // the rows it marked are about to go or move
    list_.remove_rows_if(remove);
}

void MainWindow::remove_selected_items() {
    const BusyCursor busy(services_);
    std::vector<char> selected(static_cast<std::size_t>(list_.item_count()), 0);
    for (const int row : view_->selected_rows()) selected[static_cast<std::size_t>(row)] = 1;
    remove_rows([&](int row) { return selected[static_cast<std::size_t>(row)] != 0; });
}

void MainWindow::clear_list() {
    list_.clear();
}

// Exactly the items the tag rule marked go.
void MainWindow::remove_items_without_tag() {
    flush_preview();  // the marks of every row
    const BusyCursor busy(services_);
    remove_rows([this](int row) { return !list_.get_cell(row, Column::tag_status).empty(); });
}

void MainWindow::open_filter() {
    FilterDialog dialog(*model_, codec_, services_, this);
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
