// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <utility>

#include "app/ui/list_style.h"
#include "app/ui/qt_translations.h"
#include "platform/codec.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"

namespace varnel {
namespace {

// The dynamic property holding 预览数量编辑框's tag text, and the text that
// marks it.
constexpr char tag_property[] = "tag";
const QString marked_tag = QStringLiteral("标记");  // data, never shown

// The window's size at the default font; a bigger font makes it bigger.
constexpr QSize design_size(411, 208);

// Size of the colour swatch a picker shows.
constexpr QSize swatch_size(44, 12);

void show_colour(QPushButton* picker, std::uint32_t colour) {
    QPixmap swatch(swatch_size);
    swatch.fill(colour_from_bgr(colour));
    picker->setIcon(QIcon(swatch));
    picker->setIconSize(swatch_size);
}

template <typename Widget>
Widget* named(Widget* widget, const char16_t* name) {
    widget->setObjectName(QString::fromUtf16(name));
    return widget;
}

QLabel* add_label(QWidget* parent, const char16_t* name, const QString& caption) {
    return named(new QLabel(caption, parent), name);
}

QPushButton* add_button(QWidget* parent, const char16_t* name, const QString& caption) {
    return named(new QPushButton(caption, parent), name);
}

// The 界面语言 choices in the order the box lists them.
constexpr LanguageChoice language_choices[] = {LanguageChoice::automatic, LanguageChoice::chinese,
                                               LanguageChoice::english};

int language_index(LanguageChoice choice) {
    for (int i = 0; i < static_cast<int>(std::size(language_choices)); ++i)
        if (language_choices[i] == choice) return i;
    return 0;
}

}  // namespace

SettingsDialog::SettingsDialog(Settings& record, const Codec& codec, UiServices& services,
                               std::function<void()> apply_to_list, QWidget* parent)
    : QDialog(parent),
      record_(record),
      codec_(codec),
      services_(services),
      apply_to_list_(std::move(apply_to_list)) {
    setWindowTitle(tr("设置"));
    build_preview_controls();
    build_colour_controls();
    build_choice_controls();
    build_buttons();
    lay_out();
    set_tab_order();
    fill_controls(record_);
    connect_events();
    count_changed();  // the fill above is the box's first content change
    update_preview_controls();
    apply_button_->setEnabled(false);
}

void SettingsDialog::build_preview_controls() {
    auto_preview_ = named(new QCheckBox(tr("自动预览"), this), u"自动预览选择框");
    preview_group_ = named(new QGroupBox(this), u"分组框1");
    preview_count_ =
        named(new QRadioButton(tr("预览的项目数："), preview_group_), u"预览指定数量单选框");
    count_edit_ = named(new QSpinBox(preview_group_), u"预览数量编辑框");
    count_edit_->setRange(1, 200);  // at most three digits
    preview_all_ = named(new QRadioButton(tr("预览全部"), preview_group_), u"预览全部单选框");
    auto* rows = new QGridLayout(preview_group_);
    rows->setContentsMargins(8, 4, 8, 4);
    rows->setVerticalSpacing(2);
    rows->addWidget(preview_count_, 0, 0);
    rows->addWidget(count_edit_, 0, 1);
    rows->addWidget(preview_all_, 1, 0);
    rows->setColumnStretch(2, 1);
}

void SettingsDialog::build_colour_controls() {
    background_label_ = add_label(this, u"标签3", tr("预览框背景的颜色"));
    background_picker_ = add_button(this, u"超级列表框背景颜色选择器", QString());
    font_colour_label_ = add_label(this, u"标签2", tr("预览框字体的颜色"));
    font_colour_picker_ = add_button(this, u"超级列表框字体颜色选择器", QString());
    font_label_ = add_label(this, u"标签1", tr("预览框字体的大小"));
    font_button_ = add_button(this, u"字体按钮", tr("字体..."));
}

void SettingsDialog::build_choice_controls() {
    v2_encoding_label_ = add_label(this, u"标签4", tr("ID3v2文字编码"));
    v2_encoding_ = named(new QComboBox(this), u"ID3v2文字编码组合框");
    // Names of encodings: the same in every language.
    v2_encoding_->addItems({QStringLiteral("GBK"), QStringLiteral("Unicode")});
    order_label_ = add_label(this, u"标签5", tr("冲突处理"));
    order_ = named(new QComboBox(this), u"冲突处理组合框");
    order_->addItems({tr("按顺序"), tr("智能顺序")});
    // What a '/' of a tag field becomes in a name made by page MP3标签.
    slash_label_ = add_label(this, u"标签6", tr("标签中的/换为"));
    slash_stand_in_ = named(new QComboBox(this), u"斜杠替换组合框");
    slash_stand_in_->setEditable(true);
    slash_stand_in_->addItems({QStringLiteral("／"), QStringLiteral("∕"), QStringLiteral("_"),
                               QStringLiteral("-"), QStringLiteral("、")});
    slash_stand_in_->lineEdit()->setMaxLength(4);
    slash_stand_in_->lineEdit()->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^/\\x{0}]*")), slash_stand_in_));
    language_label_ = add_label(this, u"标签7", tr("界面语言"));
    language_ = named(new QComboBox(this), u"界面语言组合框");
    for (LanguageChoice choice : language_choices) language_->addItem(language_choice_text(choice));
    language_->setToolTip(tr("下次启动时生效"));
}

void SettingsDialog::build_buttons() {
    default_button_ = add_button(this, u"默认按钮", tr("恢复默认"));
    ok_button_ = add_button(this, u"确定按钮", tr("确定"));
    cancel_button_ = add_button(this, u"取消按钮", tr("取消"));
    apply_button_ = add_button(this, u"应用按钮", tr("应用"));
    // Enter means 确定 wherever the focus is; no other button takes it.
    for (QPushButton* button : {default_button_, ok_button_, cancel_button_, apply_button_})
        button->setAutoDefault(false);
    for (QPushButton* picker : {background_picker_, font_colour_picker_, font_button_})
        picker->setAutoDefault(false);
    ok_button_->setDefault(true);
}

// Two columns of captioned controls (the preview choices on the left, the
// list's look on the right, the tag and naming choices below), a line, and
// the four buttons at the bottom right.
void SettingsDialog::lay_out() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(v2_encoding_label_, 0, 0);
    grid->addWidget(v2_encoding_, 0, 1);
    grid->addWidget(auto_preview_, 1, 0, 1, 2);
    grid->addWidget(preview_group_, 2, 0, 2, 2);
    grid->addWidget(order_label_, 4, 0);
    grid->addWidget(order_, 4, 1);
    const std::pair<QLabel*, QWidget*> right[] = {{background_label_, background_picker_},
                                                  {font_colour_label_, font_colour_picker_},
                                                  {font_label_, font_button_},
                                                  {slash_label_, slash_stand_in_},
                                                  {language_label_, language_}};
    for (int row = 0; row < static_cast<int>(std::size(right)); ++row) {
        grid->addWidget(right[row].first, row, 3);
        grid->addWidget(right[row].second, row, 4);
    }
    grid->setColumnMinimumWidth(2, 8);
    grid->setColumnStretch(2, 1);
    auto* line = named(new QFrame(this), u"外形框2");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {default_button_, ok_button_, cancel_button_, apply_button_})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 8);
    layout->setSpacing(6);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addWidget(line);
    layout->addLayout(buttons);
    setFixedSize(design_size.expandedTo(layout->minimumSize()));
}

void SettingsDialog::set_tab_order() {
    QWidget* const order[] = {
        auto_preview_,       preview_count_,  count_edit_,  preview_all_,   background_picker_,
        font_colour_picker_, font_button_,    v2_encoding_, order_,         slash_stand_in_,
        language_,           default_button_, ok_button_,   cancel_button_, apply_button_};
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void SettingsDialog::connect_events() {
    connect(auto_preview_, &QCheckBox::clicked, this, [this] {
        update_preview_controls();
        enable_apply();
    });
    connect(preview_all_, &QRadioButton::clicked, this, [this] {
        enable_apply();
        count_edit_->setEnabled(false);
    });
    connect(preview_count_, &QRadioButton::clicked, this, [this] {
        enable_apply();
        count_edit_->setEnabled(true);
    });
    connect(count_edit_, &QSpinBox::textChanged, this, [this] { count_changed(); });
    connect(background_picker_, &QPushButton::clicked, this,
            [this] { choose_colour(background_picker_, background_colour_); });
    connect(font_colour_picker_, &QPushButton::clicked, this,
            [this] { choose_colour(font_colour_picker_, font_colour_); });
    connect(font_button_, &QPushButton::clicked, this, [this] { choose_font(); });
    connect(v2_encoding_, &QComboBox::activated, this, [this] { enable_apply(); });
    connect(order_, &QComboBox::activated, this, [this] { enable_apply(); });
    connect(language_, &QComboBox::activated, this, [this] { enable_apply(); });
    connect(slash_stand_in_, &QComboBox::editTextChanged, this, [this] { enable_apply(); });
    connect(default_button_, &QPushButton::clicked, this, [this] { restore_defaults(); });
    connect(ok_button_, &QPushButton::clicked, this, [this] { accept_clicked(); });
    connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
    connect(apply_button_, &QPushButton::clicked, this, [this] { apply_clicked(); });
}

void SettingsDialog::fill_controls(const Settings& settings) {
    auto_preview_->setChecked(settings.auto_preview);
    (settings.preview_all ? preview_all_ : preview_count_)->setChecked(true);
    count_edit_->setValue(settings.preview_count);
    background_colour_ = settings.background_colour;
    font_colour_ = settings.font_colour;
    show_colour(background_picker_, background_colour_);
    show_colour(font_colour_picker_, font_colour_);
    font_chooser_ = {settings.font_name, settings.font_size, settings.bold, settings.italic};
    v2_encoding_->setCurrentIndex(settings.v2_unicode ? 1 : 0);
    order_->setCurrentIndex(settings.smart_order ? 1 : 0);
    slash_stand_in_->setEditText(to_qstring(settings.slash_stand_in, codec_));
    language_->setCurrentIndex(language_index(settings.language));
}

void SettingsDialog::update_preview_controls() {
    const bool on = auto_preview_->isChecked();
    preview_all_->setEnabled(on);
    preview_count_->setEnabled(on);
    count_edit_->setEnabled(on && !record_.preview_all);
}

void SettingsDialog::count_changed() {
    if (count_edit_->property(tag_property).toString() == marked_tag) enable_apply();
    count_edit_->setProperty(tag_property, marked_tag);
}

void SettingsDialog::choose_colour(QPushButton* picker, std::uint32_t& colour) {
    const auto chosen = services_.choose_colour(this, colour_from_bgr(colour));
    if (!chosen) return;
    colour = bgr_from_colour(*chosen);
    show_colour(picker, colour);
    enable_apply();
}

void SettingsDialog::choose_font() {
    QFont initial(to_qstring(font_chooser_.face, codec_));
    if (font_chooser_.size > 0) initial.setPointSize(font_chooser_.size);
    initial.setBold(font_chooser_.bold);
    initial.setItalic(font_chooser_.italic);
    const auto chosen = services_.choose_font(this, initial);
    if (!chosen) return;
    font_chooser_.face = from_qstring(chosen->family(), codec_);
    if (chosen->pointSize() > 0) font_chooser_.size = chosen->pointSize();
    font_chooser_.bold = chosen->bold();
    font_chooser_.italic = chosen->italic();
    enable_apply();
    record_.font_name = font_chooser_.face;
}

void SettingsDialog::restore_defaults() {
    enable_apply();
    fill_controls(Settings{});
    update_preview_controls();
}

void SettingsDialog::take_controls() {
    record_.auto_preview = auto_preview_->isChecked();
    record_.preview_all = preview_all_->isChecked();
    record_.preview_count = count_edit_->cleanText().toInt();  // 0 when not a number
    record_.background_colour = background_colour_;
    record_.font_colour = font_colour_;
    record_.font_name = font_chooser_.face;
    record_.font_size = font_chooser_.size;
    record_.v2_unicode = v2_encoding_->currentIndex() == 1;
    record_.smart_order = order_->currentIndex() == 1;
    QString stand_in = slash_stand_in_->currentText();
    stand_in.remove(QLatin1Char('/')).remove(QChar(u'\0'));
    record_.slash_stand_in = from_qstring(stand_in, codec_);
    record_.language = language_choices[std::max(0, language_->currentIndex())];
}

// The language is chosen once, at start-up: the window is not rebuilt in
// another language while it runs.
void SettingsDialog::tell_language_change(LanguageChoice before) {
    if (record_.language == before) return;
    services_.message_box(this, windowTitle(), tr("界面语言的更改在下次启动时生效。"),
                          MessageIcon::information, MessageButtons::ok);
}

void SettingsDialog::accept_clicked() {
    if (apply_button_->isEnabled()) {
        const LanguageChoice before = record_.language;
        take_controls();
        apply_to_list_();
        tell_language_change(before);
    }
    accept();
}

void SettingsDialog::apply_clicked() {
    apply_button_->setEnabled(false);
    const LanguageChoice before = record_.language;
    {
        const BusyCursor busy(services_);
        take_controls();
        apply_to_list_();
    }
    tell_language_change(before);
}

void SettingsDialog::enable_apply() {
    apply_button_->setEnabled(true);
}

}  // namespace varnel
