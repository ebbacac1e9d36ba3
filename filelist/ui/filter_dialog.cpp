// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/ui/filter_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStringList>
#include <string_view>
#include <utility>

#include "filelist/ui/file_list_model.h"
#include "platform/codec.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"
#include "rename/name_text.h"

namespace varnel {
namespace {

const QString window_title = QStringLiteral("过滤设置");

template <typename Widget>
Widget* place(Widget* widget, const char16_t* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromUtf16(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// Keeps the combo box's current index on the entry whose text equals the
// edit text exactly, and at -1 when no entry does (the user typed something
// else). An editable QComboBox on its own leaves the index where it was
// while the user types, and setting -1 empties the edit, so the typed text
// and the cursor are put back.
void keep_index_on_text(QComboBox* box) {
    const QString text = box->currentText();
    const int entry = box->findText(text);
    if (entry == box->currentIndex()) return;
    QLineEdit* edit = box->lineEdit();
    const int cursor = edit->cursorPosition();
    const QSignalBlocker quiet(edit);
    box->setCurrentIndex(entry);
    if (entry < 0) {
        edit->setText(text);
        edit->setCursorPosition(cursor);
    }
}

// An editable drop-down list: typing never adds an entry and is never
// completed to one, so the text used is exactly the text typed.
QComboBox* drop_down(QWidget* parent, const QStringList& entries) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->addItems(entries);
    box->setCurrentIndex(0);
    QObject::connect(box, &QComboBox::editTextChanged, box, [box] { keep_index_on_text(box); });
    return box;
}

// The test of criterion `by` (extension or contained text) against `text`.
NameMatch name_match(FilterBy by, std::string text) {
    if (by == FilterBy::extension)
        return [ext = std::move(text)](std::string_view name) { return has_extension(name, ext); };
    return [part = std::move(text)](std::string_view name) {
        return contains_text(name, part, false);
    };
}

QString problem_text(FilterProblem problem) {
    switch (problem) {
        case FilterProblem::no_operation:
            return QStringLiteral("请选择操作方式！");
        case FilterProblem::empty_extension:
            return QStringLiteral("扩展名不能空！");
        case FilterProblem::empty_contained_text:
            return QStringLiteral("'包含内容'不能空！");
        case FilterProblem::none:
            break;
    }
    return {};
}

}  // namespace

FilterDialog::FilterDialog(FileListModel& model, const Codec& codec, UiServices& services,
                           QWidget* parent)
    : QDialog(parent), model_(model), codec_(codec), services_(services) {
    setWindowTitle(window_title);
    setFixedSize(348, 189);
    build_controls();
    connect_events();
}

void FilterDialog::build_controls() {
    place(new QLabel(QStringLiteral("操作方式："), this), u"标签1", 24, 20, 72, 16);
    operation_box_ = place(drop_down(this, {QStringLiteral("删除"), QStringLiteral("保留")}),
                           u"操作方式组合框", 104, 16, 112, 22);
    by_extension_ =
        place(new QRadioButton(QStringLiteral("扩展名"), this), u"扩展名单选框", 24, 56, 76, 18);
    extension_box_ =
        place(drop_down(this, {"txt", "mp3", "jpg", "bmp", "gif", "jpeg", "wav", "wma", "fla",
                               "swf", "rm", "avi", "htm", "html", "doc", "ppt"}),
              u"扩展名组合框", 104, 54, 112, 22);
    by_text_ = place(new QRadioButton(QStringLiteral("包含内容"), this), u"包含内容单选框", 24, 88,
                     76, 18);
    text_edit_ = place(new QLineEdit(this), u"包含内容编辑框", 104, 86, 220, 22);
    close_when_done_ = place(new QCheckBox(QStringLiteral("过滤完成后关闭对话框"), this),
                             u"过滤完成后关闭对话框选择框", 24, 120, 200, 18);
    ok_button_ =
        place(new QPushButton(QStringLiteral("确定"), this), u"确定按钮", 152, 150, 80, 26);
    cancel_button_ =
        place(new QPushButton(QStringLiteral("取消"), this), u"取消按钮", 244, 150, 80, 26);
    by_extension_->setChecked(true);
    close_when_done_->setChecked(true);
}

void FilterDialog::connect_events() {
    connect(by_extension_, &QRadioButton::clicked, this, [this] {
        text_edit_->setEnabled(false);
        extension_box_->setEnabled(true);
    });
    connect(by_text_, &QRadioButton::clicked, this, [this] {
        extension_box_->setEnabled(false);
        text_edit_->setEnabled(true);
    });
    connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok_button_, &QPushButton::clicked, this, [this] { run_filter(); });
}

std::optional<FilterOperation> FilterDialog::chosen_operation() const {
    return filter_operation(operation_box_->currentIndex());
}

FilterBy FilterDialog::chosen_criterion() const {
    if (by_extension_->isChecked()) return FilterBy::extension;
    if (by_text_->isChecked()) return FilterBy::contained_text;
    return FilterBy::none;
}

std::string FilterDialog::criterion_text(FilterBy by) const {
    switch (by) {
        case FilterBy::extension:
            return from_qstring(extension_box_->currentText(), codec_);
        case FilterBy::contained_text:
            return from_qstring(text_edit_->text(), codec_);
        case FilterBy::none:
            break;
    }
    return {};
}

void FilterDialog::run_filter() {
    const std::optional<FilterOperation> operation = chosen_operation();
    const FilterBy by = chosen_criterion();
    std::string text = criterion_text(by);
    const FilterProblem problem = check_filter(operation, by, text);
    if (problem != FilterProblem::none) {
        services_.message_box(this, window_title, problem_text(problem), MessageIcon::exclamation,
                              MessageButtons::ok);
        return;
    }
    if (by == FilterBy::none) {
        emit filtered();
    } else {
        filter_list(*operation, name_match(by, std::move(text)));
    }
    if (close_when_done_->isChecked()) accept();
}

void FilterDialog::filter_list(FilterOperation operation, const NameMatch& matches) {
    const BusyCursor busy(services_);
    filter_items(model_.list(), operation, matches);
    emit filtered();
}

}  // namespace varnel
