#include "rename/ui/tag_page.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include "rename/ui/page_helpers.h"

namespace varnel {

namespace {

struct TagButton {
    const char* name;
    const char* caption;
    const char* tip;
};
const TagButton tag_buttons[6] = {{"艺术家超级按钮", "#1-艺术家", "艺术家"},
                                  {"歌曲名超级按钮", "#2-歌曲名", "歌曲名"},
                                  {"专辑超级按钮", "#3-专辑", "专辑"},
                                  {"音轨超级按钮", "#4-音轨", "音轨"},
                                  {"年代超级按钮", "#5-年代", "年代"},
                                  {"流派超级按钮", "#6-流派", "流派"}};

QFrame* button_bar(QWidget* parent) {
    auto* bar = new QFrame(parent);
    bar->setObjectName(QStringLiteral("外形框3"));
    bar->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(2);
    for (int i = 0; i < 6; ++i) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromUtf8(tag_buttons[i].name));
        button->setText(QString::fromUtf8(tag_buttons[i].caption));
        button->setToolTip(QString::fromUtf8(tag_buttons[i].tip));
        button->setProperty(event_tag_property, 51 + i);
        row->addWidget(button);
    }
    return bar;
}

}  // namespace

TagPage::TagPage(QWidget* parent) : QWidget(parent) {
    schemes_ = new QComboBox(this);
    schemes_->setObjectName(QStringLiteral("预定义方案组合框"));
    for (const char* scheme : {"艺术家-歌曲名", "艺术家-专辑-歌曲名", "艺术家-专辑-年代-歌曲名",
                               "艺术家-专辑-年代-歌曲名-音轨"})
        schemes_->addItem(QString::fromUtf8(scheme));
    schemes_->setCurrentIndex(-1);
    v1_first_ = make_radio("V1优先单选框", "ID3v1.x优先", this);
    v2_first_ = make_radio("V2优先单选框", "ID3v2.x优先", this);
    v2_first_->setChecked(true);
    template_ = make_edit("MP3命名规则编辑框", this);
    template_->setMaxLength(50);
    reference_ = make_edit("参照编辑框", this);
    reference_->setReadOnly(true);
    reference_->setStyleSheet(QStringLiteral("color: white; background-color: grey;"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(3);
    grid->addWidget(make_label("预定义方案标签", "预定义方案：", this), 0, 0);
    grid->addWidget(schemes_, 0, 1);
    grid->addWidget(v1_first_, 0, 2);
    grid->addWidget(v2_first_, 0, 3);
    grid->addWidget(make_label("命名规则标签", "命名规则：", this), 1, 0);
    grid->addWidget(template_, 1, 1, 1, 3);
    grid->addWidget(button_bar(this), 2, 0, 1, 4);
    grid->addWidget(reference_, 3, 0, 1, 4);
}

}  // namespace varnel
