// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The filter window "过滤设置": removes the items of the file list that match
// an extension or a contained text, or keeps only those. Opened fresh and
// modally for each use; remembers nothing. Fixed at 348 x 189 at the default
// font, and as much bigger as a bigger font needs.

#include <QDialog>
#include <optional>
#include <string>

#include "filelist/list_filter.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace varnel {

class Codec;
class FileListModel;
class UiServices;

class FilterDialog : public QDialog {
    Q_OBJECT

public:
    // `model`, `codec` and `services` must outlive the window.
    FilterDialog(FileListModel& model, const Codec& codec, UiServices& services,
                 QWidget* parent = nullptr);

signals:
    // After 确定 has filtered the list (whether or not anything went): the
    // owner refreshes its item count and follows an emptied list. Emitted
    // before the window closes.
    void filtered();

private:
    void build_controls();
    void lay_out();
    void connect_events();

    // The message 确定 shows for `problem`; empty for none.
    static QString problem_text(FilterProblem problem);

    // The operation of 操作方式组合框's selected entry; nullopt when none is.
    std::optional<FilterOperation> chosen_operation() const;
    FilterBy chosen_criterion() const;
    // The text of the control that belongs to `by`, in the code page.
    std::string criterion_text(FilterBy by) const;
    // 确定: validates, filters and closes when 过滤完成后关闭对话框选择框 is checked.
    void run_filter();
    // Filters the list under the wait cursor, telling views and the owner.
    void filter_list(FilterOperation operation, const NameMatch& matches);

    FileListModel& model_;
    const Codec& codec_;
    UiServices& services_;

    QLabel* operation_label_ = nullptr;     // 标签1
    QComboBox* operation_box_ = nullptr;    // 操作方式组合框
    QRadioButton* by_extension_ = nullptr;  // 扩展名单选框
    QComboBox* extension_box_ = nullptr;    // 扩展名组合框
    QRadioButton* by_text_ = nullptr;       // 包含内容单选框
    QLineEdit* text_edit_ = nullptr;        // 包含内容编辑框
    QCheckBox* close_when_done_ = nullptr;  // 过滤完成后关闭对话框选择框
    QPushButton* ok_button_ = nullptr;      // 确定按钮
    QPushButton* cancel_button_ = nullptr;  // 取消按钮
};

}  // namespace varnel
