// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/ui/insert_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/ui/qt_text.h"
#include "rename/ui/page_helpers.h"
#include "rename/ui/text_spin_box.h"

namespace varnel {

namespace {

TextSpinBox* make_position(const char* name, QWidget* parent) {
    auto* spin = new TextSpinBox(1, 255, 3, QStringLiteral("1"), parent);
    spin->setObjectName(QString::fromUtf8(name));
    return spin;
}

// "插入到第 [n] 个位置  ( ) …尾" inside one group box.
QGroupBox* position_group(const char* name, QRadioButton* at, TextSpinBox* position, QLabel* unit,
                          QRadioButton* end, QWidget* parent) {
    auto* group = new QGroupBox(parent);
    group->setObjectName(QString::fromUtf8(name));
    for (QWidget* child : std::initializer_list<QWidget*>{at, position, unit, end})
        child->setParent(group);
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(6, 0, 6, 0);
    row->addWidget(at);
    row->addWidget(position);
    row->addWidget(unit);
    row->addSpacing(12);
    row->addWidget(end);
    row->addStretch();
    return group;
}

}  // namespace

InsertPage::InsertPage(const Codec& codec, QWidget* parent) : QWidget(parent), codec_(codec) {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 2, 4, 2);
    page->setSpacing(2);
    page->addWidget(build_texts());
    page->addWidget(build_positions());

    for (QRadioButton* radio : {at_position_, at_end_, ext_at_position_, ext_at_end_})
        connect(radio, &QRadioButton::clicked, this, [this] {
            position_->setEnabled(at_position_->isChecked());
            ext_position_->setEnabled(ext_at_position_->isChecked());
            emit changed();
        });
    connect(position_, &TextSpinBox::text_changed, this, &InsertPage::changed);
    connect(ext_position_, &TextSpinBox::text_changed, this, &InsertPage::changed);
    connect(text_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (keep_same_->isChecked()) {
            const QSignalBlocker quiet(ext_text_);  // one change: both texts at once
            ext_text_->setText(text);
        }
        emit changed();
    });
    connect(ext_text_, &QLineEdit::textChanged, this, &InsertPage::changed);
    connect(keep_same_, &QCheckBox::clicked, this, &InsertPage::keep_same_clicked);
}

QWidget* InsertPage::build_texts() {
    auto* row = new QWidget(this);
    text_ = make_edit("插入到文件名的字符编辑框", row);
    ext_text_ = make_edit("插入到扩展名的字符编辑框", row);
    ext_label_ = make_label("插入扩展名标签", tr("扩展名："), row);
    keep_same_ = new QCheckBox(tr("保持一致"), row);
    keep_same_->setObjectName(QStringLiteral("保持一致选择框"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(make_label("标签3", tr("欲插入的字符："), row));
    layout->addWidget(make_label("标签8", tr("文件名："), row));
    layout->addWidget(text_);
    layout->addWidget(ext_label_);
    layout->addWidget(ext_text_);
    layout->addWidget(keep_same_);
    return row;
}

QWidget* InsertPage::build_positions() {
    auto* block = new QWidget(this);
    at_position_ = make_radio("插入文件名位置单选框", tr("插入到第"), block);
    position_ = make_position("插入文件名位置编辑框", block);
    at_end_ = make_radio("插入文件名尾单选框", tr("文件名尾"), block);
    ext_at_position_ = make_radio("插入扩展名位置单选框", tr("插入到第"), block);
    ext_position_ = make_position("插入扩展名位置编辑框", block);
    ext_at_end_ = make_radio("插入扩展名尾单选框", tr("扩展名尾"), block);
    auto* layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* name_row = new QHBoxLayout;
    name_row->addWidget(make_label("标签4", tr("插入到文件名："), block));
    name_row->addWidget(position_group("分组框1", at_position_, position_,
                                       make_label("标签9", tr("个位置"), block), at_end_, block));
    auto* ext_row = new QHBoxLayout;
    ext_row->addWidget(make_label("标签7", tr("插入到扩展名："), block));
    ext_row->addWidget(position_group("分组框2", ext_at_position_, ext_position_,
                                      make_label("标签10", tr("个位置"), block), ext_at_end_,
                                      block));
    layout->addLayout(name_row);
    layout->addLayout(ext_row);
    // Checked once each pair sits in its own group box: as siblings in one
    // parent the two would uncheck each other.
    at_position_->setChecked(true);
    ext_at_position_->setChecked(true);
    return block;
}

// Checked: the extension text follows the main text (grey label, field
// disabled, text copied; the copy's own change refreshes the preview).
// Unchecked: black label, field enabled, text kept, no refresh.
void InsertPage::keep_same_clicked(bool checked) {
    set_caption_grey(ext_label_, checked);
    ext_text_->setEnabled(!checked);
    if (checked) ext_text_->setText(text_->text());
}

InsertOptions InsertPage::options() const {
    InsertOptions o;
    o.text = from_qstring(text_->text(), codec_);
    o.ext_text = from_qstring(ext_text_->text(), codec_);
    o.at_end = !at_position_->isChecked() && at_end_->isChecked();
    o.position = from_qstring(position_->text_value(), codec_);
    o.ext_at_end = !ext_at_position_->isChecked() && ext_at_end_->isChecked();
    o.ext_position = from_qstring(ext_position_->text_value(), codec_);
    return o;
}

void InsertPage::set_options(const InsertOptions& o) {
    {
        const QSignalBlocker quiet(this);  // one change for all the controls
        // The extension text is the preset's own, so it no longer follows.
        keep_same_->setChecked(false);
        keep_same_clicked(false);
        text_->setText(to_qstring(o.text, codec_));
        ext_text_->setText(to_qstring(o.ext_text, codec_));
        (o.at_end ? at_end_ : at_position_)->setChecked(true);
        position_->set_text_value(to_qstring(o.position, codec_));
        (o.ext_at_end ? ext_at_end_ : ext_at_position_)->setChecked(true);
        ext_position_->set_text_value(to_qstring(o.ext_position, codec_));
    }
    emit changed();
}

}  // namespace varnel
