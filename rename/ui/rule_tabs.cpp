// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/ui/rule_tabs.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

#include "platform/ui/qt_text.h"
#include "rename/ui/case_page.h"
#include "rename/ui/insert_page.h"
#include "rename/ui/number_page.h"
#include "rename/ui/replace_page.h"
#include "rename/ui/tag_page.h"

namespace varnel {

RuleTabs::RuleTabs(const Codec& codec, QWidget* parent)
    : QTabWidget(parent),
      codec_(codec),
      number_(new NumberPage(codec, this)),
      replace_(new ReplacePage(codec, this)),
      insert_(new InsertPage(codec, this)),
      case_(new CasePage(this)),
      tags_(new TagPage(codec, this)) {
    setObjectName(QStringLiteral("选择夹"));
    addTab(number_, tr("常规"));
    addTab(replace_, tr("替换/删除"));
    addTab(insert_, tr("插入"));
    addTab(case_, tr("大小写"));
    addTab(tags_, tr("MP3标签"));
    setCurrentIndex(0);
    connect(number_, &NumberPage::changed, this, &RuleTabs::changed);
    connect(replace_, &ReplacePage::changed, this, &RuleTabs::changed);
    connect(insert_, &InsertPage::changed, this, &RuleTabs::changed);
    connect(case_, &CasePage::changed, this, &RuleTabs::changed);
    connect(tags_, &TagPage::changed, this, &RuleTabs::changed);
    connect(this, &QTabWidget::currentChanged, this, &RuleTabs::changed);
}

RulePages RuleTabs::pages() const {
    RulePages pages;
    pages.active = active_page();
    pages.number = number_->options();
    pages.replace = replace_->options();
    pages.insert = insert_->options();
    pages.letter_case = case_->options();
    pages.tags = tags_->options();
    return pages;
}

void RuleTabs::set_other_formats(bool on) {
    tags_->set_other_formats(on);
}

void RuleTabs::set_pages(const RulePages& pages) {
    {
        const QSignalBlocker quiet(this);  // one change for every page
        number_->set_options(pages.number);
        replace_->set_options(pages.replace);
        insert_->set_options(pages.insert);
        case_->set_options(pages.letter_case);
        set_tag_options(pages.tags);
        setCurrentIndex(static_cast<int>(pages.active));
    }
    emit changed();
}

// Through the page's controls, as the user sets them.
void RuleTabs::set_tag_options(const TagOptions& options) {
    tags_->findChild<QLineEdit*>(QStringLiteral("MP3命名规则编辑框"))
        ->setText(to_qstring(options.tag_template, codec_));
    tags_
        ->findChild<QRadioButton*>(options.v1_first ? QStringLiteral("V1优先单选框")
                                                    : QStringLiteral("V2优先单选框"))
        ->setChecked(true);
}

}  // namespace varnel
