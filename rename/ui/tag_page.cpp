// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/ui/tag_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include "id3/ui/byte_limit.h"
#include "platform/ui/qt_text.h"
#include "rename/tag_template.h"
#include "rename/ui/page_helpers.h"

namespace varnel {

namespace {

// Button i puts placeholder #(i+1) into the template.
struct TagButton {
    const char* name;
    const char* caption;
    const char* tip;
};
const TagButton tag_buttons[6] = {
    {"艺术家超级按钮", QT_TRANSLATE_NOOP("varnel::TagPage", "#1-艺术家"),
     QT_TRANSLATE_NOOP("varnel::TagPage", "艺术家")},
    {"歌曲名超级按钮", QT_TRANSLATE_NOOP("varnel::TagPage", "#2-歌曲名"),
     QT_TRANSLATE_NOOP("varnel::TagPage", "歌曲名")},
    {"专辑超级按钮", QT_TRANSLATE_NOOP("varnel::TagPage", "#3-专辑"),
     QT_TRANSLATE_NOOP("varnel::TagPage", "专辑")},
    {"音轨超级按钮", QT_TRANSLATE_NOOP("varnel::TagPage", "#4-音轨"),
     QT_TRANSLATE_NOOP("varnel::TagPage", "音轨")},
    {"年代超级按钮", QT_TRANSLATE_NOOP("varnel::TagPage", "#5-年代"),
     QT_TRANSLATE_NOOP("varnel::TagPage", "年代")},
    {"流派超级按钮", QT_TRANSLATE_NOOP("varnel::TagPage", "#6-流派"),
     QT_TRANSLATE_NOOP("varnel::TagPage", "流派")}};

const char* const schemes[4] = {
    QT_TRANSLATE_NOOP("varnel::TagPage", "艺术家-歌曲名"),
    QT_TRANSLATE_NOOP("varnel::TagPage", "艺术家-专辑-歌曲名"),
    QT_TRANSLATE_NOOP("varnel::TagPage", "艺术家-专辑-年代-歌曲名"),
    QT_TRANSLATE_NOOP("varnel::TagPage", "艺术家-专辑-年代-歌曲名-音轨")};

}  // namespace

QWidget* TagPage::button_bar() {
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("外形框3"));
    bar->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(2);
    for (int i = 0; i < 6; ++i) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromUtf8(tag_buttons[i].name));
        button->setText(tr(tag_buttons[i].caption));
        button->setToolTip(tr(tag_buttons[i].tip));
        connect(button, &QToolButton::clicked, this, [this, i] { add_placeholder(i + 1); });
        row->addWidget(button);
    }
    return bar;
}

TagPage::TagPage(const Codec& codec, QWidget* parent) : QWidget(parent), codec_(codec) {
    schemes_ = new QComboBox(this);
    schemes_->setObjectName(QStringLiteral("预定义方案组合框"));
    for (const char* scheme : schemes) schemes_->addItem(tr(scheme));
    schemes_->setCurrentIndex(-1);
    v1_first_ = make_radio("V1优先单选框", tr("ID3v1.x优先"), this);
    v2_first_ = make_radio("V2优先单选框", tr("ID3v2.x优先"), this);
    v2_first_->setChecked(true);
    // Off until the window sets it from the settings: MP3 files alone.
    other_formats_ = new QCheckBox(tr("其他音频格式"), this);
    other_formats_->setObjectName(QStringLiteral("其他音频格式选择框"));
    other_formats_->setToolTip(
        tr("也按标签给 FLAC、Ogg、Opus、M4A、APE、WavPack、Musepack、WMA、AIFF、WAV 和 DSF "
           "文件命名"));
    template_ = make_edit("MP3命名规则编辑框", this);
    limit_bytes(template_, static_cast<int>(tag_template_max_bytes), codec_);
    reference_ = make_edit("参照编辑框", this);
    reference_->setReadOnly(true);
    reference_->setStyleSheet(QStringLiteral("color: white; background-color: grey;"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 1, 4, 1);
    grid->setVerticalSpacing(1);
    grid->addWidget(make_label("标签11", tr("预定义方案："), this), 0, 0);
    grid->addWidget(schemes_, 0, 1);
    grid->addWidget(v1_first_, 0, 2);
    grid->addWidget(v2_first_, 0, 3);
    grid->addWidget(other_formats_, 0, 4);
    grid->addWidget(make_label("标签12", tr("命名规则："), this), 1, 0);
    grid->addWidget(template_, 1, 1, 1, 4);
    grid->addWidget(button_bar(), 2, 0, 1, 5);
    grid->addWidget(reference_, 3, 0, 1, 5);

    connect(template_, &QLineEdit::textChanged, this, &TagPage::template_edited);
    connect(schemes_, &QComboBox::activated, this, &TagPage::scheme_chosen);
    connect(v1_first_, &QRadioButton::clicked, this, &TagPage::changed);
    connect(v2_first_, &QRadioButton::clicked, this, &TagPage::changed);
    connect(other_formats_, &QCheckBox::clicked, this, &TagPage::changed);
}

TagOptions TagPage::options() const {
    TagOptions options{from_qstring(template_->text(), codec_), v1_first_->isChecked()};
    options.other_formats = other_formats_->isChecked();
    return options;
}

void TagPage::set_other_formats(bool on) {
    other_formats_->setChecked(on);
}

// Shows the template in words, keeps it to 50 bytes, refreshes the preview.
void TagPage::template_edited() {
    const std::string text = from_qstring(template_->text(), codec_);
    reference_->setText(to_qstring(tag_template_reference(text), codec_));
    if (text.size() > tag_template_max_bytes) {
        template_->setText(to_qstring(cut_tag_template(text), codec_));  // edits again
        return;
    }
    emit changed();
}

void TagPage::add_placeholder(int digit) {
    const std::string text = from_qstring(template_->text(), codec_);
    template_->setText(to_qstring(append_placeholder(text, digit), codec_));
}

// The template's own change reports it (nothing, when it was the scheme already).
void TagPage::scheme_chosen(int index) {
    template_->setText(QString::fromLatin1(tag_scheme(index).data(),
                                           static_cast<qsizetype>(tag_scheme(index).size())));
    schemes_->setCurrentIndex(-1);
    template_->setFocus();
}

}  // namespace varnel
