// SPDX-License-Identifier: GPL-3.0-or-later
// Adding files: the file chooser, the folder chooser and drops.

#include <QAction>
#include <QCoreApplication>
#include <QDir>

#include "app/ui/main_window.h"
#include "filelist/adding.h"
#include "filelist/folder_tree.h"
#include "filelist/item_names.h"
#include "filelist/ui/file_list_model.h"
#include "platform/error_text.h"
#include "platform/folder_listing.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"
#include "platform/user_folders.h"
#include "rename/batch_texts.h"

namespace varnel {

namespace {

// The add-files dialog's filter list: pairs of caption and patterns.
const char* const add_files_filters =
    QT_TRANSLATE_NOOP("varnel::MainWindow",
                      "所有文件(*.*)|*.*|音乐文件(*.mp3;wav;wma)|*.mp3;wav;wma|"
                      "图片文件(*.gif;*.jpg;*.jpeg;*.bmp;*.png)|*.gif;*.jpg;*.jpeg;*.bmp;*.png|"
                      "文本文件(*.txt)|*.txt");

std::vector<ChooserFilter> chooser_filters() {
    std::vector<ChooserFilter> filters;
    const QByteArray list =
        QCoreApplication::translate("varnel::MainWindow", add_files_filters).toUtf8();
    for (FileFilter& filter : parse_filter_list(
             std::string_view(list.constData(), static_cast<std::size_t>(list.size()))))
        filters.push_back(
            ChooserFilter{QString::fromUtf8(filter.caption), std::move(filter.patterns)});
    return filters;
}

// "N个文件夹无法读取，……" and the first few of them, each with its reason.
QString unreadable_folders_text(const TreeWalkReport& report, const Codec& codec) {
    const int count = static_cast<int>(report.unreadable);
    QString text = QCoreApplication::translate(
        "varnel::MainWindow", "%n个文件夹无法读取，其中的文件没有加入列表：", nullptr, count);
    for (const UnreadableFolder& folder : report.first_unreadable)
        text += QLatin1Char('\n') +
                QCoreApplication::translate("varnel::MainWindow", "%1：%2")
                    .arg(to_qstring(codec.text_from_fs(folder.folder), codec),
                         QString::fromLocal8Bit(system_error_text(folder.error).c_str()));
    if (report.unreadable > report.first_unreadable.size()) text += QStringLiteral("\n……");
    return text;
}

std::string with_slash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder.push_back('/');
    return folder;
}

bool is_hidden_name(const std::string& fs_name) {
    return fs_name.starts_with('.');
}

}  // namespace

void MainWindow::append_fs_names(const std::string& fs_folder, std::vector<std::string> fs_names,
                                 bool natural_order) {
    std::vector<ItemName> names = item_names_from_fs(std::move(fs_names), codec_);
    if (natural_order) sort_naturally(names);
    model_->append_items(item_folder_from_fs(fs_folder, codec_), std::move(names));
}

void MainWindow::finish_adding(int first_row) {
    read_shown_facts(first_row);
    refresh_preview(false);
    refresh_file_count();
}

// dir.txt keeps the folder as code-page text; the folder on disk is its
// UTF-8 spelling, or the bytes themselves for a legacy name.
void MainWindow::add_files() {
    const std::optional<std::string> last_folder =
        make_folder_of(dir_txt_path_) ? read_last_folder(dir_txt_path_) : std::nullopt;
    std::string start;
    if (last_folder && !last_folder->empty()) {
        start = codec_.fs_from_text(*last_folder).value_or(*last_folder);
        if (!is_folder(start)) start = *last_folder;
    }
    const std::vector<std::string> chosen =
        services_.open_files(this, tr("请选择文件(可多选)："), start, chooser_filters());
    if (chosen.empty() || !fits_chooser_buffer(chosen)) return;
    const BusyCursor busy(services_);
    const int first = list_.item_count();
    const std::string folder = folder_of_path(chosen.front());
    if (last_folder)
        if (const WriteResult written =
                write_last_folder(dir_txt_path_, codec_.text_from_fs(folder));
            !written)
            report_save_failure(dir_txt_path_, written.error);
    std::vector<std::string> names;
    names.reserve(chosen.size());
    for (const std::string& path : chosen) names.push_back(name_of_path(path));
    append_fs_names(folder, std::move(names), false);
    finish_adding(first);
}

// The folder dir.txt names, when it is one (file-system bytes); dir.txt
// is not made here.
std::string MainWindow::last_chosen_folder() const {
    if (!path_exists(dir_txt_path_)) return {};
    const std::optional<std::string> last = read_last_folder(dir_txt_path_);
    if (!last || last->empty()) return {};
    std::string folder = codec_.fs_from_text(*last).value_or(*last);
    if (!is_folder(folder)) folder = *last;
    return is_folder(folder) ? folder : std::string();
}

// Adding every file of the home folder, or of a folder of more than
// confirm_files_over files, is asked first: a slip of the folder picker
// should not fill the list with the wrong folder.
bool MainWindow::confirm_large_folder(const std::string& fs_folder, std::size_t files) {
    QString question;
    if (with_slash(fs_folder) == with_slash(path_from_qstring(QDir::homePath())))
        question = tr("确实要加入主文件夹（%1）中的文件吗？").arg(path_to_qstring(fs_folder));
    else if (files > confirm_files_over)
        question = tr("文件夹 %1 中有 %2 个文件，确实要全部加入吗？")
                       .arg(path_to_qstring(fs_folder))
                       .arg(files);
    if (question.isEmpty()) return true;
    return services_.message_box(nullptr, tr("询问："), question, MessageIcon::question,
                                 MessageButtons::yes_no) == MessageAnswer::yes;
}

// Starts at the folder last chosen here, else at the folder of the last
// add-files choice, with 包含子文件夹 as last chosen. Hidden files ('.'
// names, and with 包含子文件夹 everything inside hidden folders) are added
// only when the picker showed them. With 包含子文件夹: every file of the
// tree, each under its own folder, in the walk's order (see
// walk_folder_tree); then one message when folders could not be read.
void MainWindow::add_folder() {
    const std::optional<FolderChoice> chosen = services_.choose_folder(
        this, tr("请选择一个目录"),
        is_folder(chooser_folder_) ? chooser_folder_ : last_chosen_folder(), chooser_subfolders_);
    if (!chosen || chosen->path.empty()) return;
    chooser_folder_ = chosen->path;
    chooser_subfolders_ = chosen->with_subfolders;
    if (!chosen->with_subfolders) {
        // Kept for the conflict marks of the preview that follows.
        std::vector<std::string> names =
            folder_names_.list_files(with_slash(chosen->path)).value_or(std::vector<std::string>{});
        if (!chosen->show_hidden) std::erase_if(names, is_hidden_name);
        if (!confirm_large_folder(chosen->path, names.size())) return;
        add_names_of_folder(chosen->path, std::move(names));
        return;
    }
    if (!confirm_large_folder(chosen->path, 0)) return;
    const std::string root = with_slash(chosen->path);
    TreeWalkReport report;
    int added = 0;
    {
        const BusyCursor busy(services_);
        const std::unique_ptr<ProgressWindow> progress =
            services_.progress(this, tr("正在添加文件……"));
        const int first = list_.item_count();
        report = walk_folder_tree(
            chosen->path, codec_,
            [&](const std::string& fs_folder, std::vector<ItemName> names) {
                if (!chosen->show_hidden) {
                    if (fs_folder.find("/.", root.size() - 1) != std::string::npos) return;
                    std::erase_if(names,
                                  [](const ItemName& name) { return is_hidden_name(name.fs); });
                }
                model_->append_items(item_folder_from_fs(fs_folder, codec_), std::move(names));
            },
            [&] {
                // The count of the tree is not known: the window shows it busy.
                progress->set_value(list_.item_count() - first, 0);
                return progress->was_cancelled();
            });
        added = list_.item_count() - first;
        finish_adding(first);
    }
    if (report.stopped)
        services_.message_box(nullptr, code_page_text(texts::message_title()),
                              tr("已取消：已添加 %1 个文件").arg(added), MessageIcon::information,
                              MessageButtons::ok);
    if (report.unreadable > 0)
        services_.message_box(nullptr, code_page_text(texts::message_title()),
                              unreadable_folders_text(report, codec_), MessageIcon::warning,
                              MessageButtons::ok);
}

void MainWindow::add_folder_at(std::string fs_folder) {
    if (fs_folder.empty()) return;
    fs_folder = with_slash(std::move(fs_folder));
    add_names_of_folder(fs_folder,
                        folder_names_.list_files(fs_folder).value_or(std::vector<std::string>{}));
}

// The folder's files go in in natural order, as file managers show them.
void MainWindow::add_names_of_folder(const std::string& fs_folder,
                                     std::vector<std::string> fs_names) {
    const BusyCursor busy(services_);
    const int first = list_.item_count();
    append_fs_names(with_slash(fs_folder), std::move(fs_names), true);
    finish_adding(first);
}

void MainWindow::add_dropped_paths(const std::vector<std::string>& fs_paths) {
    if (fs_paths.empty()) return;
    const BusyCursor busy(services_);
    const int first = list_.item_count();
    const DroppedPaths sorted = sort_dropped_paths(fs_paths);
    for (FolderRun& run : runs_by_folder(sorted.files))
        append_fs_names(run.folder, std::move(run.names), false);
    finish_adding(first);
    for (const std::string& folder : sorted.folders) add_folder_at(folder);
}

}  // namespace varnel
