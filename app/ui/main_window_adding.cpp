// Adding files: the open-file dialog, the folder picker and drops.

#include <QAction>

#include "app/ui/main_window.h"
#include "filelist/adding.h"
#include "filelist/item_names.h"
#include "filelist/ui/file_list_model.h"
#include "platform/folder_listing.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"

namespace varnel {

namespace {

// The add-files dialog's filter list: pairs of caption and patterns.
constexpr std::string_view add_files_filters =
    "所有文件(*.*)|*.*|音乐文件(*.mp3;wav;wma)|*.mp3;wav;wma|"
    "图片文件(*.gif;*.jpg;*.jpeg;*.bmp;*.png)|*.gif;*.jpg;*.jpeg;*.bmp;*.png|文本文件(*.txt)|*.txt";

// In Qt's form: "caption (pattern pattern)"; Qt reads the patterns from the
// last parentheses, so the caption keeps its own.
QString qt_filters() {
    QStringList filters;
    for (const FileFilter& filter : parse_filter_list(add_files_filters)) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns)
            patterns.push_back(QString::fromStdString(pattern));
        filters.push_back(QString::fromUtf8(filter.caption) + QStringLiteral(" (") +
                          patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace

void MainWindow::append_fs_names(const std::string& fs_folder, std::vector<std::string> fs_names) {
    model_->append_items(item_folder_from_fs(fs_folder, codec_),
                         item_names_from_fs(std::move(fs_names), codec_));
}

void MainWindow::finish_adding(int) {
    refresh_preview(false);
    set_buttons(preview_button, true);
    set_buttons(start_button, true);
    refresh_file_count();
}

void MainWindow::add_files() {
    const std::optional<std::string> last_folder =
        make_folder_of(dir_txt_path_) ? read_last_folder(dir_txt_path_) : std::nullopt;
    QString initial;
    if (last_folder && !last_folder->empty())
        initial = path_to_qstring(codec_.fs_from_text(*last_folder).value_or(std::string()));
    const QStringList chosen =
        services_.open_files(this, QStringLiteral("请选择文件(可多选)："), initial, qt_filters());
    if (chosen.isEmpty()) return;
    const BusyCursor busy(services_);
    const int first = list_.item_count();
    const std::string folder = folder_of_path(path_from_qstring(chosen.front()));
    if (last_folder)
        if (const WriteResult written =
                write_last_folder(dir_txt_path_, codec_.text_from_fs(folder));
            !written)
            report_save_failure(dir_txt_path_, written.error);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(chosen.size()));
    for (const QString& path : chosen) names.push_back(name_of_path(path_from_qstring(path)));
    append_fs_names(folder, std::move(names));
    finish_adding(first);
}

void MainWindow::add_folder(const QString& path) {
    const QString chosen =
        path.isEmpty() ? services_.choose_folder(this, QStringLiteral("请选择一个目录")) : path;
    if (chosen.isEmpty()) return;
    const BusyCursor busy(services_);
    const int first = list_.item_count();
    std::string folder = path_from_qstring(chosen);
    if (folder.back() != '/') folder.push_back('/');
    set_buttons(preview_button, true);
    set_buttons(start_button, true);
    append_fs_names(folder, list_folder_files(folder).value_or(std::vector<std::string>{}));
    finish_adding(first);
}

// Dropped files come first, each with its own folder; then every other
// path is added as a folder, in drop order.
void MainWindow::add_dropped_paths(const QStringList& paths) {
    if (paths.isEmpty()) return;
    const BusyCursor busy(services_);
    std::vector<std::string> fs_paths;
    for (const QString& path : paths) fs_paths.push_back(path_from_qstring(path));
    const int first = list_.item_count();
    const DroppedPaths sorted = sort_dropped_paths(fs_paths);
    // Each run of files from one folder is appended with that folder.
    for (std::size_t at = 0; at < sorted.files.size();) {
        const std::string folder = folder_of_path(sorted.files[at]);
        std::vector<std::string> names;
        for (; at < sorted.files.size() && folder_of_path(sorted.files[at]) == folder; ++at)
            names.push_back(name_of_path(sorted.files[at]));
        append_fs_names(folder, std::move(names));
    }
    finish_adding(first);
    for (const std::string& folder : sorted.folders) add_folder(path_to_qstring(folder));
}

}  // namespace varnel
