// SPDX-License-Identifier: GPL-3.0-or-later
// The window's tag batches: 文件名转为标签 and 批量编辑标签, and what follows
// any tag batch that wrote files.

#include <QAction>
#include <QMenu>
#include <algorithm>

#include "app/ui/main_window.h"
#include "audio/audio_formats.h"
#include "audio/ui/batch_tag_dialog.h"
#include "audio/ui/tags_from_names_dialog.h"
#include "filelist/ui/file_list_view.h"
#include "filelist/ui/list_context_menu.h"
#include "platform/language.h"
#include "rename/name_text.h"
#include "rename/ui/rule_tabs.h"

namespace varnel {

void MainWindow::build_tag_batch_actions(QMenu* file) {
    tags_from_names_action_ =
        file->addAction(tr("文件名转为标签..."), this, &MainWindow::tags_from_names_command);
    batch_tag_action_ =
        file->addAction(tr("批量编辑标签..."), this, &MainWindow::batch_tag_command);
    // The tag page's 其他音频格式 box decides which items are audio.
    connect(tabs_, &RuleTabs::changed, this, &MainWindow::update_buttons);
}

// After 标签转为Unicode, the tag commands of the list.
void MainWindow::show_tag_batches_in_context_menu() {
    const QList<QAction*> items = context_menu_->actions();
    const auto after_fix_tags = std::find(items.begin(), items.end(), context_menu_->fix_tags) + 1;
    QAction* before = after_fix_tags < items.end() ? *after_fix_tags : nullptr;
    context_menu_->insertActions(before, {tags_from_names_action_, batch_tag_action_});
}

bool MainWindow::is_audio_item(int row) const {
    const std::string& name = list_.old_names()[static_cast<std::size_t>(row)];
    return has_extension(name, "MP3") ||
           (tabs_->pages().tags.other_formats && is_other_audio_name(name));
}

void MainWindow::update_tag_batch_actions(const std::vector<int>& selected) {
    const bool audio = std::any_of(selected.begin(), selected.end(),
                                   [this](int row) { return is_audio_item(row); });
    tags_from_names_action_->setEnabled(audio);
    batch_tag_action_->setEnabled(audio);
}

std::vector<std::string> MainWindow::selected_audio_paths() const {
    std::vector<std::string> paths;
    for (const int row : view_->selected_rows())
        if (is_audio_item(row)) paths.push_back(list_.item_folder(row).fs + list_.fs_name(row));
    return paths;
}

TagBatchSetup MainWindow::tag_batch_setup() {
    return {services_, codec_,
            settings_.v2_unicode ? V2TextEncoding::unicode : V2TextEncoding::code_page,
            [this](const std::string& journal) { tag_batch_finished(journal); }};
}

void MainWindow::tags_from_names_command() {
    const std::vector<std::string> paths = selected_audio_paths();
    if (paths.empty()) return;
    // The tag page's template where it has one: naming and its inverse.
    std::string tag_template = tabs_->pages().tags.tag_template;
    if (tag_template.empty()) tag_template = code_page("#1 - #2");
    run_tags_from_names(this, paths, tag_batch_setup(), tag_template);
}

void MainWindow::batch_tag_command() {
    const std::vector<std::string> paths = selected_audio_paths();
    if (paths.empty()) return;
    run_batch_tag_edit(this, paths, tag_batch_setup());
}

void MainWindow::tag_batch_finished(const std::string& journal_path) {
    note_tag_batch(journal_path);  // 撤消 takes it back while it is the newest batch
    read_shown_facts(0);           // the written files have new sizes and times
    refresh_preview(false);
    update_buttons();
}

}  // namespace varnel
