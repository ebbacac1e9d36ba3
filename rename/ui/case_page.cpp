// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/ui/case_page.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

#include "rename/ui/page_helpers.h"

namespace varnel {

namespace {

constexpr int choice_count = CasePage::choice_count;

// The radios of a group in the order of CaseChoice.
const char* const choice_captions[choice_count] = {
    QT_TRANSLATE_NOOP("varnel::CasePage", "全部大写"),
    QT_TRANSLATE_NOOP("varnel::CasePage", "全部小写"),
    QT_TRANSLATE_NOOP("varnel::CasePage", "首字母大写"),
    QT_TRANSLATE_NOOP("varnel::CasePage", "首字母小写"),
    QT_TRANSLATE_NOOP("varnel::CasePage", "每个单词首字母大写")};
const char* const name_radios[choice_count] = {"文件名全部大写单选框", "文件名全部小写单选框",
                                               "文件名首字母大写单选框", "文件名首字母小写单选框",
                                               "文件名每个单词首字母大写单选框"};
const char* const ext_radios[choice_count] = {"扩展名全部大写单选框", "扩展名全部小写单选框",
                                              "扩展名首字母大写单选框", "扩展名首字母小写单选框",
                                              "扩展名每个单词首字母大写单选框"};
constexpr CaseChoice choices[choice_count] = {CaseChoice::upper, CaseChoice::lower,
                                              CaseChoice::first_upper, CaseChoice::first_lower,
                                              CaseChoice::title_case};

// One group of the radios, the first checked.
QGroupBox* choice_group(const char* name, const QString& caption,
                        const char* const radio_names[choice_count],
                        QRadioButton* radios[choice_count], QWidget* parent) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(QString::fromUtf8(name));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 2, 8, 4);
    grid->setVerticalSpacing(2);  // three rows of radios within the design height
    for (int i = 0; i < choice_count; ++i) {
        radios[i] =
            make_radio(radio_names[i],
                       QCoreApplication::translate("varnel::CasePage", choice_captions[i]), group);
        grid->addWidget(radios[i], i / 2, i % 2);
    }
    radios[0]->setChecked(true);
    return group;
}

CaseChoice choice_of(QRadioButton* const radios[choice_count]) {
    for (int i = 0; i < choice_count; ++i)
        if (radios[i]->isChecked()) return choices[i];
    return CaseChoice::upper;
}

void check_choice(QRadioButton* const radios[choice_count], CaseChoice choice) {
    for (int i = 0; i < choice_count; ++i)
        if (choices[i] == choice) radios[i]->setChecked(true);
}

}  // namespace

CasePage::CasePage(QWidget* parent) : QWidget(parent) {
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(4, 2, 4, 2);
    page->addWidget(choice_group("分组框6", tr("文件名"), name_radios, name_, this));
    page->addWidget(choice_group("分组框7", tr("扩展名"), ext_radios, ext_, this));
    for (QRadioButton* radio : name_)
        connect(radio, &QRadioButton::clicked, this, &CasePage::changed);
    for (QRadioButton* radio : ext_)
        connect(radio, &QRadioButton::clicked, this, &CasePage::changed);
}

CaseOptions CasePage::options() const {
    return CaseOptions{choice_of(name_), choice_of(ext_)};
}

void CasePage::set_options(const CaseOptions& options) {
    check_choice(name_, options.name);
    check_choice(ext_, options.ext);
    emit changed();
}

}  // namespace varnel
