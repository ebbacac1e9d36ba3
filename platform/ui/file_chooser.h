// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own file and folder chooser, built on the platform's folder
// listing. Every name is shown through the codec, so a legacy GBK name reads
// as Chinese, and every answer is the file-system bytes the folder listed:
// a name that is not UTF-8 comes back byte for byte.
//
// Controls (object names): 目录编辑框 (the folder shown; Enter goes there),
// 上一级按钮 (up), 文件列表框 (folders first, then files, each in natural
// order; double-click enters a folder or takes a file), 文件名编辑框 and
// 文件类型组合框 (files mode only), 显示隐藏文件选择框 (names starting with
// '.' are hidden unless checked), 包含子文件夹 (folder mode only, a check
// box, unchecked when the chooser opens unless set_with_subfolders checks
// it: whether the caller should take the folder's subfolders too; it
// changes nothing in the chooser itself),
// 打开按钮 (the default button) and 取消按钮. Typing starts in 文件名编辑框
// (files) or in 目录编辑框 (folder mode: a typed path, then Enter, goes
// there; Enter never takes the folder shown before).

#include <QDialog>
#include <string>
#include <vector>

#include "platform/codec.h"
#include "platform/folder_listing.h"
#include "platform/ui/ui_services.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace varnel {

enum class ChooserMode {
    files,  // several files may be chosen; a typed name need not exist
    folder  // one folder: the selected one, or else the folder shown
};

class FileChooser final : public QDialog {
    Q_OBJECT
public:
    // Opens at `start_folder` (file-system bytes); when it cannot be listed,
    // at the home folder, else at "/".
    FileChooser(ChooserMode mode, const QString& title, const std::string& start_folder,
                std::vector<ChooserFilter> filters, const Codec& codec, QWidget* parent = nullptr);

    // The folder shown: file-system bytes ending in '/'.
    const std::string& folder() const { return folder_; }
    // Shows `folder`; false, and nothing changes, when it cannot be listed.
    bool show_folder(std::string folder);

    // The answer once accepted: the chosen paths in order (one in folder mode).
    const std::vector<std::string>& chosen() const { return chosen_; }
    // Folder mode: whether 包含子文件夹 is checked (always false in files mode).
    bool with_subfolders() const;
    // Folder mode: checks or clears 包含子文件夹 (nothing in files mode).
    void set_with_subfolders(bool checked);
    // Whether 显示隐藏文件 is checked.
    bool shows_hidden() const;

    // 打开: a selected or typed folder is entered; otherwise the selection or
    // the typed names are the answer and the chooser closes.
    void accept() override;

private:
    void build();
    void reload();
    void selection_changed();
    void item_double_clicked(QListWidgetItem* item);
    void folder_field_entered();
    std::vector<const FolderEntry*> selected_entries() const;
    std::string typed_path(const QString& name) const;
    QString shown_text(const std::string& fs_name) const;
    bool take_selection();
    bool take_typed_names();
    void finish(std::vector<std::string> paths);

    const ChooserMode mode_;
    const std::vector<ChooserFilter> filters_;
    const Codec& codec_;
    std::string folder_;
    std::vector<FolderEntry> entries_;  // every entry of the folder
    std::vector<std::string> chosen_;
    QString selection_text_;     // what the selection wrote into 文件名编辑框
    bool path_entered_ = false;  // Enter in 目录编辑框, before the default button sees it

    QLineEdit* folder_field_ = nullptr;
    QListWidget* entries_view_ = nullptr;
    QLineEdit* name_field_ = nullptr;
    QComboBox* filter_box_ = nullptr;
    QCheckBox* show_hidden_ = nullptr;
    QCheckBox* with_subfolders_ = nullptr;  // folder mode only
};

}  // namespace varnel
