// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <iterator>
#include <utility>

#include "app/ui/font_growth.h"
#include "app/ui/list_style.h"
#include "platform/codec.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"

namespace varnel {
namespace {

// The dynamic property holding 预览数量编辑框's tag text, and the text that
// marks it.
constexpr char tag_property[] = "tag";
const QString marked_tag = QStringLiteral("标记");

// Size of the colour swatch a picker shows.
constexpr QSize swatch_size(44, 12);

void show_colour(QPushButton* picker, std::uint32_t colour) {
    QPixmap swatch(swatch_size);
    swatch.fill(colour_from_bgr(colour));
    picker->setIcon(QIcon(swatch));
    picker->setIconSize(swatch_size);
}

template <typename Widget>
Widget* place(Widget* widget, const char16_t* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromUtf16(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* add_label(QWidget* parent, const char16_t* name, const char16_t* caption, int top) {
    return place(new QLabel(QString::fromUtf16(caption), parent), name, 214, top, 100, 12);
}

QPushButton* add_button(QWidget* parent, const char16_t* name, const char16_t* caption, int left,
                        int top, int width, int height) {
    return place(new QPushButton(QString::fromUtf16(caption), parent), name, left, top, width,
                 height);
}

}  // namespace

SettingsDialog::SettingsDialog(Settings& record, const Codec& codec, UiServices& services,
                               std::function<void()> apply_to_list, QWidget* parent)
    : QDialog(parent),
      record_(record),
      codec_(codec),
      services_(services),
      apply_to_list_(std::move(apply_to_list)) {
    setWindowTitle(QStringLiteral("设置"));
    setFixedSize(411, 208);
    build_preview_controls();
    build_colour_controls();
    build_buttons();
    set_tab_order();
    grow_with_font(*this, QSize(411, 208));
    fill_controls(record_);
    connect_events();
    count_changed();  // the fill above is the box's first content change
    update_preview_controls();
    apply_button_->setEnabled(false);
}

void SettingsDialog::build_preview_controls() {
    auto_preview_ =
        place(new QCheckBox(QStringLiteral("自动预览"), this), u"自动预览选择框", 16, 28, 72, 12);
    auto* group = place(new QGroupBox(this), u"分组框1", 16, 45, 184, 60);
    preview_count_ = place(new QRadioButton(QStringLiteral("预览的项目数："), group),
                           u"预览指定数量单选框", 8, 16, 104, 12);
    count_edit_ = place(new QSpinBox(group), u"预览数量编辑框", 117, 11, 50, 22);
    count_edit_->setRange(1, 200);  // at most three digits
    preview_all_ = place(new QRadioButton(QStringLiteral("预览全部"), group), u"预览全部单选框", 8,
                         40, 72, 12);
}

void SettingsDialog::build_colour_controls() {
    add_label(this, u"标签3", u"预览框背景的颜色", 16);
    background_picker_ = add_button(this, u"超级列表框背景颜色选择器", u"", 330, 13, 60, 20);
    add_label(this, u"标签2", u"预览框字体的颜色", 48);
    font_colour_picker_ = add_button(this, u"超级列表框字体颜色选择器", u"", 330, 45, 60, 20);
    add_label(this, u"标签1", u"预览框字体的大小", 81);
    font_button_ = add_button(this, u"字体按钮", u"字体...", 330, 77, 60, 22);
    place(new QLabel(QStringLiteral("冲突处理"), this), u"标签5", 16, 121, 100, 12);
    order_ = place(new QComboBox(this), u"冲突处理组合框", 117, 116, 83, 22);
    order_->addItems({QStringLiteral("按顺序"), QStringLiteral("智能顺序")});
    // What a '/' of a tag field becomes in a name made by page MP3标签.
    place(new QLabel(QStringLiteral("标签中的/换为"), this), u"标签6", 214, 121, 110, 12);
    slash_stand_in_ = place(new QComboBox(this), u"斜杠替换组合框", 330, 116, 60, 22);
    slash_stand_in_->setEditable(true);
    slash_stand_in_->addItems({QStringLiteral("／"), QStringLiteral("∕"), QStringLiteral("_"),
                               QStringLiteral("-"), QStringLiteral("、")});
    slash_stand_in_->lineEdit()->setMaxLength(4);
    slash_stand_in_->lineEdit()->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[^/\\x{0}]*")), slash_stand_in_));
    auto* line = place(new QFrame(this), u"外形框2", 4, 139, 390, 2);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    place(new QLabel(QStringLiteral("ID3v2文字编码"), this), u"标签4", 16, 8, 100, 12);
    v2_encoding_ = place(new QComboBox(this), u"ID3v2文字编码组合框", 117, 3, 83, 22);
    v2_encoding_->addItems({QStringLiteral("GBK"), QStringLiteral("Unicode")});
}

void SettingsDialog::build_buttons() {
    default_button_ = add_button(this, u"默认按钮", u"恢复默认", 76, 151, 70, 24);
    ok_button_ = add_button(this, u"确定按钮", u"确定", 155, 151, 70, 24);
    cancel_button_ = add_button(this, u"取消按钮", u"取消", 234, 151, 70, 24);
    apply_button_ = add_button(this, u"应用按钮", u"应用", 315, 151, 70, 24);
    // Enter means 确定 wherever the focus is; no other button takes it.
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
    ok_button_->setDefault(true);
}

void SettingsDialog::set_tab_order() {
    QWidget* const order[] = {
        auto_preview_,       preview_count_, count_edit_,    preview_all_, background_picker_,
        font_colour_picker_, font_button_,   v2_encoding_,   order_,       slash_stand_in_,
        default_button_,     ok_button_,     cancel_button_, apply_button_};
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
}

void SettingsDialog::accept_clicked() {
    if (apply_button_->isEnabled()) {
        take_controls();
        apply_to_list_();
    }
    accept();
}

void SettingsDialog::apply_clicked() {
    apply_button_->setEnabled(false);
    const BusyCursor busy(services_);
    take_controls();
    apply_to_list_();
}

void SettingsDialog::enable_apply() {
    apply_button_->setEnabled(true);
}

}  // namespace varnel
