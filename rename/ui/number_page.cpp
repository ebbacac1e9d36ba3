// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/ui/number_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <array>

#include "platform/ui/qt_text.h"
#include "rename/ui/page_helpers.h"
#include "rename/ui/text_spin_box.h"

namespace varnel {

namespace {

TextSpinBox* make_spin(const char* name, int minimum, int maximum, int length, const QString& text,
                       QWidget* parent) {
    auto* spin = new TextSpinBox(minimum, maximum, length, text, parent);
    spin->setObjectName(QString::fromUtf8(name));
    return spin;
}

// The labels of a group's four fields: design names and captions.
std::array<QLabel*, 4> make_labels(const std::array<const char*, 4>& names,
                                   const std::array<QString, 4>& captions, QWidget* parent) {
    std::array<QLabel*, 4> labels{};
    for (std::size_t i = 0; i < labels.size(); ++i)
        labels[i] = make_label(names[i], captions[i], parent);
    return labels;
}

// Four labelled fields in two rows: prefix, body / digits, suffix.
void lay_out_fields(QGroupBox* group, const std::array<QLabel*, 4>& labels,
                    const std::array<QWidget*, 4>& fields) {
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 0, 6, 2);
    grid->setVerticalSpacing(1);
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(labels[static_cast<std::size_t>(i)], i / 2, (i % 2) * 2);
        grid->addWidget(fields[static_cast<std::size_t>(i)], i / 2, (i % 2) * 2 + 1);
    }
}

}  // namespace

NumberPage::NumberPage(const Codec& codec, QWidget* parent) : QWidget(parent), codec_(codec) {
    auto* scope_box = new QGroupBox(this);
    scope_box->setObjectName(QStringLiteral("分组框3"));
    scope_name_ = make_radio("常规文件名单选框", tr("文件名"), scope_box);
    scope_ext_ = make_radio("常规扩展名单选框", tr("扩展名"), scope_box);
    scope_all_ = make_radio("常规全部单选框", tr("全部"), scope_box);
    scope_name_->setChecked(true);
    // A frameless group: the page keeps its design height at the default font.
    scope_box->setFlat(true);
    scope_box->setStyleSheet(QStringLiteral("QGroupBox { border: none; margin: 0; padding: 0; }"));
    auto* scope_row = new QHBoxLayout(scope_box);
    scope_row->setContentsMargins(2, 0, 2, 0);
    scope_row->addWidget(make_label("标签13", tr("作用于："), scope_box));
    for (QRadioButton* radio : {scope_name_, scope_ext_, scope_all_}) scope_row->addWidget(radio);

    start_ = make_spin("起始量编辑框", 0, 9999, 8, QStringLiteral("0"), this);
    step_ = make_spin("增量编辑框", 1, 9999, 6, QStringLiteral("1"), this);
    auto* clear = new QPushButton(tr("清空"), this);
    clear->setObjectName(QStringLiteral("常规清空按钮"));

    auto* top = new QHBoxLayout;
    top->addWidget(scope_box);
    top->addSpacing(8);
    top->addWidget(make_label("标签1", tr("起始量："), this));
    top->addWidget(start_);
    top->addWidget(make_label("标签2", tr("增量"), this));
    top->addWidget(step_);
    top->addStretch();
    top->addWidget(clear);

    auto* groups = new QHBoxLayout;
    groups->addWidget(build_name_group());
    groups->addWidget(build_ext_group());

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 1, 4, 1);
    page->setSpacing(1);
    page->addLayout(top);
    page->addLayout(groups);

    for (QRadioButton* radio : {scope_name_, scope_ext_, scope_all_})
        connect(radio, &QRadioButton::clicked, this, [this] {
            show_scope();
            emit changed();
        });
    for (QLineEdit* edit : {prefix_, body_, suffix_, ext_prefix_, ext_body_, ext_suffix_})
        connect(edit, &QLineEdit::textChanged, this, &NumberPage::changed);
    for (TextSpinBox* spin : {start_, step_, digits_, ext_digits_})
        connect(spin, &TextSpinBox::text_changed, this, &NumberPage::changed);
    connect(clear, &QPushButton::clicked, this, &NumberPage::clear_fields);
    show_scope();
}

QGroupBox* NumberPage::build_name_group() {
    name_group_ = new QGroupBox(tr("文件名"), this);
    name_group_->setObjectName(QStringLiteral("文件名分组框"));
    prefix_ = make_edit("文件名前缀编辑框", name_group_);
    body_ = make_edit("文件名编辑框", name_group_);
    digits_ = make_spin("文件名位数调节编辑框", 1, 255, 3, QStringLiteral("1"), name_group_);
    suffix_ = make_edit("文件名后缀编辑框", name_group_);
    name_labels_ = make_labels({"前缀1标签", "文件名标签", "文件名位数调节标签", "后缀1标签"},
                               {tr("前缀"), tr("主文件名"), tr("位数"), tr("后缀")}, name_group_);
    lay_out_fields(name_group_, name_labels_, {prefix_, body_, digits_, suffix_});
    return name_group_;
}

QGroupBox* NumberPage::build_ext_group() {
    ext_group_ = new QGroupBox(tr("扩展名"), this);
    ext_group_->setObjectName(QStringLiteral("扩展名分组框"));
    ext_prefix_ = make_edit("扩展名前缀编辑框", ext_group_);
    ext_body_ = make_edit("新扩展名编辑框", ext_group_);
    QPalette red = ext_body_->palette();
    red.setColor(QPalette::Text, Qt::red);
    ext_body_->setPalette(red);
    ext_digits_ = make_spin("扩展名位数调节编辑框", 0, 100, 3, QString(), ext_group_);
    ext_suffix_ = make_edit("扩展名后缀编辑框", ext_group_);
    ext_labels_ = make_labels({"前缀2标签", "新扩展名标签", "扩展名位数标签", "后缀2标签"},
                              {tr("前缀"), tr("新扩展名"), tr("位数"), tr("后缀")}, ext_group_);
    lay_out_fields(ext_group_, ext_labels_, {ext_prefix_, ext_body_, ext_digits_, ext_suffix_});
    return ext_group_;
}

// A group in use is black with its fields enabled; one out of scope is grey
// with its fields disabled.
void NumberPage::show_scope() {
    const bool name_on = !scope_ext_->isChecked();
    const bool ext_on = !scope_name_->isChecked();
    set_caption_grey(name_group_, !name_on);
    set_caption_grey(ext_group_, !ext_on);
    for (QLabel* label : name_labels_) set_caption_grey(label, !name_on);
    for (QLabel* label : ext_labels_) set_caption_grey(label, !ext_on);
    for (QWidget* field : std::initializer_list<QWidget*>{prefix_, body_, digits_, suffix_})
        field->setEnabled(name_on);
    for (QWidget* field :
         std::initializer_list<QWidget*>{ext_prefix_, ext_body_, ext_digits_, ext_suffix_})
        field->setEnabled(ext_on);
}

// Empties the fields without a preview per field, then previews once.
// 增量编辑框 keeps its text.
void NumberPage::clear_fields() {
    for (QLineEdit* edit : {prefix_, body_, suffix_, ext_prefix_, ext_body_, ext_suffix_}) {
        const QSignalBlocker quiet(edit);
        edit->clear();
    }
    for (TextSpinBox* spin : {digits_, ext_digits_, start_}) {
        const QSignalBlocker quiet(spin);
        spin->set_text_value({});
    }
    emit changed();
}

NumberOptions NumberPage::options() const {
    NumberOptions o;
    o.scope = scope_ext_->isChecked()   ? NameScope::extension
              : scope_all_->isChecked() ? NameScope::both
                                        : NameScope::main_name;
    o.prefix = from_qstring(prefix_->text(), codec_);
    o.body = from_qstring(body_->text(), codec_);
    o.digits = from_qstring(digits_->text_value(), codec_);
    o.suffix = from_qstring(suffix_->text(), codec_);
    o.ext_prefix = from_qstring(ext_prefix_->text(), codec_);
    o.ext_body = from_qstring(ext_body_->text(), codec_);
    o.ext_digits = from_qstring(ext_digits_->text_value(), codec_);
    o.ext_suffix = from_qstring(ext_suffix_->text(), codec_);
    o.start = from_qstring(start_->text_value(), codec_);
    o.step = from_qstring(step_->text_value(), codec_);
    return o;
}

void NumberPage::set_options(const NumberOptions& o) {
    {
        const QSignalBlocker quiet(this);  // one change for all the controls
        QRadioButton* scope = o.scope == NameScope::extension ? scope_ext_
                              : o.scope == NameScope::both    ? scope_all_
                                                              : scope_name_;
        scope->setChecked(true);
        show_scope();
        prefix_->setText(to_qstring(o.prefix, codec_));
        body_->setText(to_qstring(o.body, codec_));
        digits_->set_text_value(to_qstring(o.digits, codec_));
        suffix_->setText(to_qstring(o.suffix, codec_));
        ext_prefix_->setText(to_qstring(o.ext_prefix, codec_));
        ext_body_->setText(to_qstring(o.ext_body, codec_));
        ext_digits_->set_text_value(to_qstring(o.ext_digits, codec_));
        ext_suffix_->setText(to_qstring(o.ext_suffix, codec_));
        start_->set_text_value(to_qstring(o.start, codec_));
        step_->set_text_value(to_qstring(o.step, codec_));
    }
    emit changed();
}

}  // namespace varnel
