// SPDX-License-Identifier: GPL-3.0-or-later
// 保存预设… and 载入预设…: the active page's settings or the whole chain in
// a preset file, and the recent presets of the 文件 menu.

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include "app/ui/main_window.h"
#include "filelist/adding.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"
#include "rename/preset.h"
#include "rename/ui/chain_panel.h"
#include "rename/ui/rule_tabs.h"

namespace varnel {

namespace {
std::vector<ChooserFilter> preset_filters() {
    return {
        {QCoreApplication::translate("varnel::MainWindow", "预设文件 (*.varnel)"), {"*.varnel"}},
        {QCoreApplication::translate("varnel::MainWindow", "所有文件 (*)"), {"*"}}};
}
}  // namespace

Preset MainWindow::current_preset() const {
    Preset preset;
    preset.chain = chain_->is_on();
    if (preset.chain)
        preset.steps = chain_->steps();
    else
        preset.steps = {RuleStep{tabs_->pages(), true}};
    return preset;
}

void MainWindow::save_preset_requested() {
    const std::string path =
        services_.save_file(this, tr("保存预设"), last_preset_folder(), tr("预设.varnel"));
    if (path.empty()) return;
    if (const std::string error = write_preset_file(path, current_preset()); !error.empty()) {
        services_.message_box(
            nullptr, tr("错误"),
            tr("无法保存预设 %1：%2").arg(path_to_qstring(path), code_page_text(error)),
            MessageIcon::error, MessageButtons::ok);
        return;
    }
    remember_preset(path);
}

void MainWindow::load_preset_requested() {
    const std::vector<std::string> paths =
        services_.open_files(this, tr("载入预设"), last_preset_folder(), preset_filters());
    if (!paths.empty()) load_preset(paths.front());
}

void MainWindow::load_preset(const std::string& path) {
    const PresetRead read = read_preset_file(path);
    if (!read.error.empty()) {
        services_.message_box(
            nullptr, tr("错误"),
            tr("无法载入预设 %1：%2").arg(path_to_qstring(path), code_page_text(read.error)),
            MessageIcon::error, MessageButtons::ok);
        return;
    }
    if (read.preset.chain) {
        show_chain(true);
        chain_->set_steps(read.preset.steps);
        chain_->set_on(true);
    } else {
        chain_->set_on(false);
        tabs_->set_pages(read.preset.steps.front().rule);
    }
    remember_preset(path);
}

std::string MainWindow::last_preset_folder() const {
    return recent_presets_.empty() ? std::string() : folder_of_path(recent_presets_.front());
}

void MainWindow::remember_preset(const std::string& path) {
    std::erase(recent_presets_, path);
    recent_presets_.insert(recent_presets_.begin(), path);
    if (recent_presets_.size() > recent_preset_count) recent_presets_.resize(recent_preset_count);
    show_recent_presets();
}

void MainWindow::show_recent_presets() {
    recent_menu_->clear();
    for (const std::string& path : recent_presets_)
        recent_menu_->addAction(path_to_qstring(path), this, [this, path] { load_preset(path); });
    recent_menu_->setEnabled(!recent_presets_.empty());
}

}  // namespace varnel
