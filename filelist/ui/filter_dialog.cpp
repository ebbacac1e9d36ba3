// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/ui/filter_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QVBoxLayout>
#include <string_view>
#include <utility>

#include "filelist/ui/file_list_model.h"
#include "platform/codec.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"
#include "rename/name_text.h"

namespace varnel {
namespace {

// The window's size at the default font; a bigger font makes it bigger.
constexpr QSize design_size(348, 189);

template <typename Widget>
Widget* named(Widget* widget, const char16_t* name) {
    widget->setObjectName(QString::fromUtf16(name));
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

}  // namespace

QString FilterDialog::problem_text(FilterProblem problem) {
    switch (problem) {
        case FilterProblem::no_operation:
            return tr("请选择操作方式！");
        case FilterProblem::empty_extension:
            return tr("扩展名不能空！");
        case FilterProblem::empty_contained_text:
            return tr("'包含内容'不能空！");
        case FilterProblem::none:
            break;
    }
    return {};
}

FilterDialog::FilterDialog(FileListModel& model, const Codec& codec, UiServices& services,
                           QWidget* parent)
    : QDialog(parent), model_(model), codec_(codec), services_(services) {
    setWindowTitle(tr("过滤设置"));
    build_controls();
    lay_out();
    connect_events();
}

void FilterDialog::build_controls() {
    operation_label_ = named(new QLabel(tr("操作方式："), this), u"标签1");
    operation_box_ = named(drop_down(this, {tr("删除"), tr("保留")}), u"操作方式组合框");
    by_extension_ = named(new QRadioButton(tr("扩展名"), this), u"扩展名单选框");
    // Extensions are data: the same in every language.
    extension_box_ =
        named(drop_down(this, QStringLiteral("txt mp3 jpg bmp gif jpeg wav wma fla swf rm avi htm "
                                             "html doc ppt")
                                  .split(u' ')),
              u"扩展名组合框");
    by_text_ = named(new QRadioButton(tr("包含内容"), this), u"包含内容单选框");
    text_edit_ = named(new QLineEdit(this), u"包含内容编辑框");
    close_when_done_ =
        named(new QCheckBox(tr("过滤完成后关闭对话框"), this), u"过滤完成后关闭对话框选择框");
    ok_button_ = named(new QPushButton(tr("确定"), this), u"确定按钮");
    cancel_button_ = named(new QPushButton(tr("取消"), this), u"取消按钮");
    by_extension_->setChecked(true);
    close_when_done_->setChecked(true);
}

// Captions in the first column, their inputs beside them (the two drop-down
// lists half as wide as the text box), the buttons at the bottom right.
void FilterDialog::lay_out() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->addWidget(operation_label_, 0, 0);
    grid->addWidget(operation_box_, 0, 1);
    grid->addWidget(by_extension_, 1, 0);
    grid->addWidget(extension_box_, 1, 1);
    grid->addWidget(by_text_, 2, 0);
    grid->addWidget(text_edit_, 2, 1, 1, 2);
    grid->addWidget(close_when_done_, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_button_);
    buttons->addWidget(cancel_button_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 14, 20, 12);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    setFixedSize(design_size.expandedTo(layout->minimumSize()));
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
        services_.message_box(this, windowTitle(), problem_text(problem), MessageIcon::exclamation,
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
