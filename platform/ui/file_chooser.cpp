// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/file_chooser.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <utility>

#include "platform/name_order.h"
#include "platform/name_pattern.h"
#include "platform/ui/qt_text.h"

namespace varnel {

namespace {

std::string with_slash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder.push_back('/');
    return folder;
}

std::string parent_of(const std::string& folder) {
    if (folder.size() <= 1) return "/";
    const std::size_t slash = folder.rfind('/', folder.size() - 2);
    return slash == std::string::npos ? "/" : folder.substr(0, slash + 1);
}

// Names in 文件名编辑框: "a" "b" for several, the bare name for one.
QStringList split_typed_names(const QString& text) {
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(QLatin1Char('"')))
        return trimmed.isEmpty() ? QStringList{} : QStringList{trimmed};
    QStringList names;
    const QStringList parts = trimmed.split(QLatin1Char('"'));
    for (int i = 1; i < parts.size(); i += 2)
        if (!parts[i].isEmpty()) names.push_back(parts[i]);
    return names;
}

}  // namespace

FileChooser::FileChooser(ChooserMode mode, const QString& title, const std::string& start_folder,
                         std::vector<ChooserFilter> filters, const Codec& codec, QWidget* parent)
    : QDialog(parent), mode_(mode), filters_(std::move(filters)), codec_(codec) {
    setWindowTitle(title);
    setObjectName(mode == ChooserMode::files ? QStringLiteral("文件选择框")
                                             : QStringLiteral("目录选择框"));
    build();
    if (!show_folder(start_folder) && !show_folder(path_from_qstring(QDir::homePath())))
        show_folder("/");
}

void FileChooser::build() {
    folder_field_ = new QLineEdit(this);
    folder_field_->setObjectName(QStringLiteral("目录编辑框"));
    auto* up =
        new QPushButton(style()->standardIcon(QStyle::SP_FileDialogToParent), tr("上一级"), this);
    up->setObjectName(QStringLiteral("上一级按钮"));
    up->setAutoDefault(false);
    entries_view_ = new QListWidget(this);
    entries_view_->setObjectName(QStringLiteral("文件列表框"));
    entries_view_->setSelectionMode(mode_ == ChooserMode::files
                                        ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);
    entries_view_->setUniformItemSizes(true);
    show_hidden_ = new QCheckBox(tr("显示隐藏文件"), this);
    show_hidden_->setObjectName(QStringLiteral("显示隐藏文件选择框"));
    auto* open = new QPushButton(mode_ == ChooserMode::files ? tr("打开") : tr("选择"), this);
    open->setObjectName(QStringLiteral("打开按钮"));
    open->setDefault(true);
    auto* cancel = new QPushButton(tr("取消"), this);
    cancel->setObjectName(QStringLiteral("取消按钮"));
    cancel->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("目录："), this));
    top->addWidget(folder_field_, 1);
    top->addWidget(up);
    grid->addLayout(top, 0, 0, 1, 3);
    grid->addWidget(entries_view_, 1, 0, 1, 3);
    if (mode_ == ChooserMode::files) {
        name_field_ = new QLineEdit(this);
        name_field_->setObjectName(QStringLiteral("文件名编辑框"));
        filter_box_ = new QComboBox(this);
        filter_box_->setObjectName(QStringLiteral("文件类型组合框"));
        for (const ChooserFilter& filter : filters_) filter_box_->addItem(filter.caption);
        grid->addWidget(new QLabel(tr("文件名："), this), 2, 0);
        grid->addWidget(name_field_, 2, 1);
        grid->addWidget(open, 2, 2);
        grid->addWidget(new QLabel(tr("文件类型："), this), 3, 0);
        grid->addWidget(filter_box_, 3, 1);
        grid->addWidget(cancel, 3, 2);
        grid->addWidget(show_hidden_, 4, 1);
        connect(filter_box_, &QComboBox::currentIndexChanged, this, &FileChooser::reload);
    } else {
        with_subfolders_ = new QCheckBox(tr("包含子文件夹"), this);
        with_subfolders_->setObjectName(QStringLiteral("包含子文件夹"));
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(show_hidden_);
        bottom->addWidget(with_subfolders_);
        bottom->addStretch();
        bottom->addWidget(open);
        bottom->addWidget(cancel);
        grid->addLayout(bottom, 2, 0, 1, 3);
    }
    grid->setColumnStretch(1, 1);
    // Typing starts in the name field (files) or in the path field (folders).
    if (name_field_)
        name_field_->setFocus();
    else
        folder_field_->setFocus();
    resize(fontMetrics().averageCharWidth() * 80, fontMetrics().height() * 26);

    connect(up, &QPushButton::clicked, this, [this] { show_folder(parent_of(folder_)); });
    connect(open, &QPushButton::clicked, this, &FileChooser::accept);
    connect(cancel, &QPushButton::clicked, this, &FileChooser::reject);
    connect(show_hidden_, &QCheckBox::toggled, this, &FileChooser::reload);
    connect(folder_field_, &QLineEdit::returnPressed, this, &FileChooser::folder_field_entered);
    connect(entries_view_, &QListWidget::itemSelectionChanged, this,
            &FileChooser::selection_changed);
    connect(entries_view_, &QListWidget::itemDoubleClicked, this,
            &FileChooser::item_double_clicked);
}

QString FileChooser::shown_text(const std::string& fs_name) const {
    return to_qstring(codec_.text_from_fs(fs_name), codec_);
}

bool FileChooser::show_folder(std::string folder) {
    if (folder.empty()) return false;
    folder = with_slash(std::move(folder));
    std::optional<std::vector<FolderEntry>> entries = list_folder_entries(folder);
    if (!entries) return false;
    folder_ = std::move(folder);
    // Folders first, then files; each in natural order of the shown text.
    std::vector<std::pair<std::string, FolderEntry>> keyed;
    keyed.reserve(entries->size());
    for (FolderEntry& entry : *entries)
        keyed.emplace_back(codec_.text_from_fs(entry.name), std::move(entry));
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        if (a.second.is_folder != b.second.is_folder) return a.second.is_folder;
        return natural_less(a.first, b.first);
    });
    entries_.clear();
    entries_.reserve(keyed.size());
    for (auto& [text, entry] : keyed) entries_.push_back(std::move(entry));
    folder_field_->setText(shown_text(folder_));
    if (name_field_) name_field_->clear();
    selection_text_.clear();
    reload();
    return true;
}

// Fills 文件列表框 from the entries: hidden names only when asked for, in
// files mode the files that pass the filter, in folder mode folders alone.
void FileChooser::reload() {
    entries_view_->clear();
    const bool hidden = show_hidden_->isChecked();
    const ChooserFilter* filter = nullptr;
    if (filter_box_ && filter_box_->currentIndex() >= 0)
        filter = &filters_[static_cast<std::size_t>(filter_box_->currentIndex())];
    const QIcon folder_icon = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon file_icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const FolderEntry& entry = entries_[i];
        if (!hidden && entry.name.starts_with('.')) continue;
        if (!entry.is_folder) {
            if (mode_ == ChooserMode::folder) continue;
            if (filter) {
                const std::string text = codec_.text_from_fs(entry.name);
                const bool passes = std::any_of(
                    filter->patterns.begin(), filter->patterns.end(),
                    [&](const std::string& pattern) { return matches_pattern(pattern, text); });
                if (!passes) continue;
            }
        }
        auto* item = new QListWidgetItem(entry.is_folder ? folder_icon : file_icon,
                                         shown_text(entry.name), entries_view_);
        item->setData(Qt::UserRole, static_cast<qulonglong>(i));
    }
}

std::vector<const FolderEntry*> FileChooser::selected_entries() const {
    std::vector<const FolderEntry*> selected;
    for (int row = 0; row < entries_view_->count(); ++row) {
        const QListWidgetItem* item = entries_view_->item(row);
        if (item->isSelected())
            selected.push_back(&entries_[item->data(Qt::UserRole).toULongLong()]);
    }
    return selected;
}

// The selected files' names go into 文件名编辑框, quoted when several.
void FileChooser::selection_changed() {
    if (!name_field_) return;
    QStringList names;
    for (const FolderEntry* entry : selected_entries())
        if (!entry->is_folder) names.push_back(shown_text(entry->name));
    if (names.isEmpty()) {
        // Only folders now: names the selection wrote earlier no longer hold.
        if (name_field_->text() == selection_text_) name_field_->clear();
        selection_text_.clear();
        return;
    }
    selection_text_ = names.size() == 1 ? names.front()
                                        : QLatin1Char('"') + names.join(QStringLiteral("\" \"")) +
                                              QLatin1Char('"');
    name_field_->setText(selection_text_);
}

void FileChooser::item_double_clicked(QListWidgetItem* item) {
    const FolderEntry& entry = entries_[item->data(Qt::UserRole).toULongLong()];
    if (entry.is_folder)
        show_folder(folder_ + entry.name);
    else if (mode_ == ChooserMode::files)
        finish({folder_ + entry.name});
}

// A typed folder: its UTF-8 spelling, or else its code-page bytes (a
// legacy folder name typed in Chinese).
void FileChooser::folder_field_entered() {
    path_entered_ = true;  // the same Enter reaches the default button next
    const QString typed = folder_field_->text().trimmed();
    if (typed == shown_text(folder_)) {
        show_folder(folder_);
        return;
    }
    if (show_folder(path_from_qstring(typed))) return;
    if (show_folder(from_qstring(typed, codec_))) return;
    folder_field_->setText(shown_text(folder_));
}

// The bytes of a typed name: an entry of the folder whose shown text it is,
// else its UTF-8 spelling; relative names are taken in the folder shown.
std::string FileChooser::typed_path(const QString& name) const {
    for (const FolderEntry& entry : entries_)
        if (shown_text(entry.name) == name) return folder_ + entry.name;
    const std::string bytes = path_from_qstring(name);
    return bytes.starts_with('/') ? bytes : folder_ + bytes;
}

bool FileChooser::shows_hidden() const {
    return show_hidden_->isChecked();
}

void FileChooser::set_with_subfolders(bool checked) {
    if (with_subfolders_) with_subfolders_->setChecked(checked);
}

bool FileChooser::with_subfolders() const {
    return with_subfolders_ && with_subfolders_->isChecked();
}

void FileChooser::accept() {
    // Enter in 目录编辑框 goes to that folder (returnPressed) and stops there.
    if (std::exchange(path_entered_, false) && focusWidget() == folder_field_) return;
    if (take_selection()) return;
    if (mode_ == ChooserMode::files) {
        take_typed_names();
        return;
    }
    finish({folder_.size() > 1 ? folder_.substr(0, folder_.size() - 1) : folder_});
}

// The selection as the answer, when 文件名编辑框 still shows it (or in
// folder mode); a single selected folder is entered in files mode.
bool FileChooser::take_selection() {
    const std::vector<const FolderEntry*> selected = selected_entries();
    if (selected.empty()) return false;
    if (mode_ == ChooserMode::folder) {
        finish({folder_ + selected.front()->name});
        return true;
    }
    if (selected.size() == 1 && selected.front()->is_folder &&
        name_field_->text().trimmed().isEmpty()) {
        show_folder(folder_ + selected.front()->name);
        return true;
    }
    if (name_field_->text() != selection_text_ || selection_text_.isEmpty()) return false;
    std::vector<std::string> paths;
    for (const FolderEntry* entry : selected)
        if (!entry->is_folder) paths.push_back(folder_ + entry->name);
    if (paths.empty()) return false;
    finish(std::move(paths));
    return true;
}

// Typed names: one that names a folder is entered; otherwise every name is
// an answer, whether or not such a file exists.
bool FileChooser::take_typed_names() {
    const QStringList names = split_typed_names(name_field_->text());
    if (names.isEmpty()) return false;
    std::vector<std::string> paths;
    for (const QString& name : names) paths.push_back(typed_path(name));
    if (paths.size() == 1 && is_folder(paths.front())) {
        show_folder(paths.front());
        return true;
    }
    finish(std::move(paths));
    return true;
}

void FileChooser::finish(std::vector<std::string> paths) {
    chosen_ = std::move(paths);
    QDialog::accept();
}

}  // namespace varnel
