// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/ui/replace_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/ui/qt_text.h"
#include "rename/ui/page_helpers.h"

namespace varnel {

ReplacePage::ReplacePage(const Codec& codec, QWidget* parent) : QWidget(parent), codec_(codec) {
    auto* group = new QGroupBox(tr("选项"), this);
    group->setObjectName(QStringLiteral("删除分组框"));
    find_ = make_edit("查找内容编辑框", group);
    with_ = make_edit("替换为编辑框", group);
    case_sensitive_ = new QCheckBox(tr("区分大小写"), group);
    case_sensitive_->setObjectName(QStringLiteral("区分大小写选择框"));
    regex_ = new QCheckBox(tr("正则表达式"), group);
    regex_->setObjectName(QStringLiteral("正则表达式"));
    regex_->setToolTip(tr("查找内容是正则表达式（PCRE2），替换为可用 $1、${名称}"));
    scope_name_ = make_radio("仅文件名单选框", tr("仅文件名"), group);
    scope_ext_ = make_radio("仅扩展名单选框", tr("仅扩展名"), group);
    scope_all_ = make_radio("替换删除全部单选框", tr("全部"), group);
    scope_name_->setChecked(true);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(1);
    grid->addWidget(make_label("查找内容标签", tr("查找内容"), group), 0, 0);
    grid->addWidget(find_, 0, 1);
    grid->addWidget(case_sensitive_, 0, 2);
    grid->addWidget(make_label("替换为标签", tr("替换为"), group), 1, 0);
    grid->addWidget(with_, 1, 1);
    grid->addWidget(make_label("标签5", tr("（为空时表示删除‘查找内容’的内容）"), group), 1, 2);
    auto* scopes = new QHBoxLayout;
    scopes->addWidget(make_label("标签6", tr("应用于："), group));
    for (QRadioButton* radio : {scope_name_, scope_ext_, scope_all_}) scopes->addWidget(radio);
    scopes->addStretch();
    scopes->addWidget(regex_);
    auto* inner = new QVBoxLayout(group);
    inner->setContentsMargins(8, 0, 8, 2);
    inner->setSpacing(1);
    inner->addLayout(grid);
    inner->addLayout(scopes);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 1, 4, 1);
    page->addWidget(group);

    for (QLineEdit* edit : {find_, with_})
        connect(edit, &QLineEdit::textChanged, this, &ReplacePage::changed);
    for (QRadioButton* radio : {scope_name_, scope_ext_, scope_all_})
        connect(radio, &QRadioButton::clicked, this, &ReplacePage::changed);
    connect(case_sensitive_, &QCheckBox::clicked, this, &ReplacePage::changed);
    connect(regex_, &QCheckBox::clicked, this, &ReplacePage::changed);
}

ReplaceOptions ReplacePage::options() const {
    ReplaceOptions o;
    o.find = from_qstring(find_->text(), codec_);
    o.with = from_qstring(with_->text(), codec_);
    o.case_sensitive = case_sensitive_->isChecked();
    o.regex = regex_->isChecked();
    o.scope = scope_ext_->isChecked()   ? NameScope::extension
              : scope_all_->isChecked() ? NameScope::both
                                        : NameScope::main_name;
    return o;
}

void ReplacePage::set_options(const ReplaceOptions& o) {
    {
        const QSignalBlocker quiet(this);  // one change for all the controls
        find_->setText(to_qstring(o.find, codec_));
        with_->setText(to_qstring(o.with, codec_));
        case_sensitive_->setChecked(o.case_sensitive);
        regex_->setChecked(o.regex);
        QRadioButton* scope = o.scope == NameScope::extension ? scope_ext_
                              : o.scope == NameScope::both    ? scope_all_
                                                              : scope_name_;
        scope->setChecked(true);
    }
    emit changed();
}

}  // namespace varnel
