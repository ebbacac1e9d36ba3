// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/settings_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/codec.h"
#include "support/fake_ui_services.h"

namespace varnel {
namespace {

using namespace Qt::StringLiterals;

const std::string song = "\xCB\xCE\xCC\xE5";  // 宋体
const std::string hei = "\xBA\xDA\xCC\xE5";   // 黑体

// The scripted desktop, also remembering the font each chooser opened with.
class SettingsWindow : public testing::Test {
protected:
    // Opens a window on `record`; every call of apply_to_list is counted.
    void open() {
        window_ = std::make_unique<SettingsDialog>(record_, codec_, services_, [this] {
            ++applied_;
            busy_while_applying_ = services_.busy_depth;
            applied_record_ = record_;
        });
        window_->show();
    }

    template <typename T = QWidget>
    T* control(const char* name) const {
        T* found = window_->findChild<T*>(QString::fromUtf8(name));
        if (!found) ADD_FAILURE() << "no control " << name;
        return found;
    }
    void click(const char* name) const { control<QAbstractButton>(name)->click(); }
    bool enabled(const char* name) const { return control(name)->isEnabled(); }
    bool checked(const char* name) const { return control<QAbstractButton>(name)->isChecked(); }
    QSpinBox* count_edit() const { return control<QSpinBox>("预览数量编辑框"); }
    bool apply_enabled() const { return enabled("应用按钮"); }

    // The colour a picker shows, as 0x00BBGGRR.
    std::uint32_t shown_colour(const char* picker) const {
        const QColor c =
            control<QPushButton>(picker)->icon().pixmap(QSize(44, 12)).toImage().pixelColor(4, 4);
        return static_cast<std::uint32_t>(c.red() | c.green() << 8 | c.blue() << 16);
    }

    Codec codec_;
    test::FakeUiServices services_;
    Settings record_;
    std::unique_ptr<SettingsDialog> window_;
    int applied_ = 0;
    int busy_while_applying_ = -1;
    Settings applied_record_;
};

// The designed controls with their captions, laid out in two columns of
// captioned rows (a caption left of its control, on its line) above a line
// and the buttons.
TEST_F(SettingsWindow, HasTheDesignedControls) {
    open();
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("设置"));
    EXPECT_EQ(window_->minimumSize(), QSize(411, 208));
    EXPECT_EQ(window_->maximumSize(), QSize(411, 208));
    struct Design {
        const char* name;
        const char* caption;
        const char* beside;  // the control right of it on its line
        bool in_group;
    };
    const std::vector<Design> designs = {
        {"自动预览选择框", "自动预览", "", false},
        {"分组框1", "", "", false},
        {"预览指定数量单选框", "预览的项目数：", "预览数量编辑框", true},
        {"预览数量编辑框", "", "", true},
        {"预览全部单选框", "预览全部", "", true},
        {"标签4", "ID3v2文字编码", "ID3v2文字编码组合框", false},
        {"标签5", "冲突处理", "冲突处理组合框", false},
        {"标签3", "预览框背景的颜色", "超级列表框背景颜色选择器", false},
        {"标签2", "预览框字体的颜色", "超级列表框字体颜色选择器", false},
        {"标签1", "预览框字体的大小", "字体按钮", false},
        {"字体按钮", "字体...", "", false},
        {"标签6", "标签中的/换为", "斜杠替换组合框", false},
        {"标签7", "界面语言", "界面语言组合框", false},
        {"外形框2", "", "", false},
        {"默认按钮", "恢复默认", "确定按钮", false},
        {"确定按钮", "确定", "取消按钮", false},
        {"取消按钮", "取消", "应用按钮", false},
        {"应用按钮", "应用", "", false}};
    const QWidget* group = control("分组框1");
    const QWidget* line = control("外形框2");
    for (const Design& d : designs) {
        SCOPED_TRACE(d.name);
        const QWidget* widget = control(d.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget(), d.in_group ? group : window_.get());
        EXPECT_TRUE(widget->isVisible());
        QString caption;
        if (auto* button = qobject_cast<const QAbstractButton*>(widget)) caption = button->text();
        if (auto* label = qobject_cast<const QLabel*>(widget)) caption = label->text();
        EXPECT_EQ(caption, QString::fromUtf8(d.caption));
        if (*d.beside) {
            const QWidget* beside = control(d.beside);
            EXPECT_LE(widget->geometry().right(), beside->geometry().left());
            EXPECT_LE(std::abs(widget->geometry().center().y() - beside->geometry().center().y()),
                      2);
        }
    }
    // The preview choices and the list's look side by side; the buttons under the line.
    EXPECT_LT(control("分组框1")->geometry().right(), control("标签3")->geometry().left());
    EXPECT_GT(control("确定按钮")->geometry().top(), line->geometry().bottom());
    EXPECT_GT(line->geometry().top(), control("界面语言组合框")->geometry().bottom());
    EXPECT_EQ(count_edit()->minimum(), 1);
    EXPECT_EQ(count_edit()->maximum(), 200);
}

TEST_F(SettingsWindow, TabOrderFollowsTheDesign) {
    open();
    const std::vector<const char*> order = {"自动预览选择框",
                                            "预览指定数量单选框",
                                            "预览数量编辑框",
                                            "预览全部单选框",
                                            "超级列表框背景颜色选择器",
                                            "超级列表框字体颜色选择器",
                                            "字体按钮",
                                            "界面语言组合框",
                                            "默认按钮",
                                            "确定按钮",
                                            "取消按钮",
                                            "应用按钮"};
    QStringList expected;
    for (const char* name : order) expected << QString::fromUtf8(name);
    QStringList chain;  // the controls above in focus-chain order, once round
    for (QWidget* w = window_->nextInFocusChain(); w != window_.get(); w = w->nextInFocusChain())
        if (expected.contains(w->objectName())) chain << w->objectName();
    EXPECT_EQ(chain, expected);
}

TEST_F(SettingsWindow, DefaultRecordFillsTheControls) {
    open();
    EXPECT_FALSE(checked("自动预览选择框"));
    EXPECT_TRUE(checked("预览指定数量单选框"));
    EXPECT_FALSE(checked("预览全部单选框"));
    EXPECT_EQ(count_edit()->text(), u"10"_s);
    EXPECT_FALSE(enabled("预览指定数量单选框"));
    EXPECT_FALSE(enabled("预览数量编辑框"));
    EXPECT_FALSE(enabled("预览全部单选框"));
    EXPECT_EQ(shown_colour("超级列表框背景颜色选择器"), 0x80A080u);
    EXPECT_EQ(shown_colour("超级列表框字体颜色选择器"), 0x800000u);
    EXPECT_FALSE(apply_enabled());
}

TEST_F(SettingsWindow, RecordFillsTheControlsAndTheFontChooser) {
    record_ = {true, true, 57, 0x0000FF, 0xFF0000, hei, 12, true, true};
    open();
    EXPECT_TRUE(checked("自动预览选择框"));
    EXPECT_TRUE(checked("预览全部单选框"));
    EXPECT_FALSE(checked("预览指定数量单选框"));
    EXPECT_EQ(count_edit()->text(), u"57"_s);
    EXPECT_TRUE(enabled("预览指定数量单选框"));
    EXPECT_TRUE(enabled("预览全部单选框"));
    EXPECT_FALSE(enabled("预览数量编辑框"));
    EXPECT_EQ(shown_colour("超级列表框背景颜色选择器"), 0xFF0000u);
    EXPECT_EQ(shown_colour("超级列表框字体颜色选择器"), 0x0000FFu);
    EXPECT_FALSE(apply_enabled());

    click("字体按钮");
    ASSERT_EQ(services_.fonts_offered.size(), 1u);
    const QFont& offered = services_.fonts_offered[0];
    EXPECT_EQ(offered.family(), QStringLiteral("黑体"));
    EXPECT_EQ(offered.pointSize(), 12);
    EXPECT_TRUE(offered.bold());
    EXPECT_TRUE(offered.italic());
}

TEST_F(SettingsWindow, OkWithoutChangesAppliesNothing) {
    record_.preview_count = 500;  // shown clamped, but never taken back untouched
    const Settings before = record_;
    open();
    click("确定按钮");
    EXPECT_EQ(applied_, 0);
    EXPECT_EQ(record_, before);
    EXPECT_EQ(window_->result(), QDialog::Accepted);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(SettingsWindow, ApplyTakesTheControlsUnderTheWaitCursor) {
    open();
    click("自动预览选择框");
    EXPECT_TRUE(apply_enabled());
    click("应用按钮");
    EXPECT_EQ(applied_, 1);
    EXPECT_TRUE(applied_record_.auto_preview);
    EXPECT_EQ(busy_while_applying_, 1);
    EXPECT_EQ(services_.busy_depth, 0);
    EXPECT_FALSE(apply_enabled());
    EXPECT_TRUE(window_->isVisible());

    click("确定按钮");  // nothing left to apply
    EXPECT_EQ(applied_, 1);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(SettingsWindow, OkAfterAChangeTakesTheControlsAndApplies) {
    open();
    click("自动预览选择框");
    click("预览全部单选框");
    click("确定按钮");
    EXPECT_EQ(applied_, 1);
    EXPECT_TRUE(record_.auto_preview);
    EXPECT_TRUE(record_.preview_all);
    EXPECT_EQ(record_.preview_count, 10);
}

TEST_F(SettingsWindow, CancelTakesNothing) {
    open();
    click("自动预览选择框");
    click("取消按钮");
    EXPECT_EQ(applied_, 0);
    EXPECT_EQ(record_, Settings{});
    EXPECT_EQ(window_->result(), QDialog::Rejected);
}

TEST_F(SettingsWindow, RadioButtonsSwitchTheCountBox) {
    record_.auto_preview = true;
    open();
    EXPECT_TRUE(enabled("预览数量编辑框"));
    click("预览全部单选框");
    EXPECT_FALSE(enabled("预览数量编辑框"));
    EXPECT_TRUE(apply_enabled());
    click("应用按钮");
    click("预览指定数量单选框");
    EXPECT_TRUE(enabled("预览数量编辑框"));
    EXPECT_TRUE(apply_enabled());
}

// The count box follows the record's 全部预览, not the radio buttons.
TEST_F(SettingsWindow, CountBoxFollowsTheRecordWhenAutoPreviewIsSwitched) {
    record_.auto_preview = true;
    open();
    click("预览全部单选框");
    click("自动预览选择框");
    EXPECT_FALSE(enabled("预览全部单选框"));
    EXPECT_FALSE(enabled("预览指定数量单选框"));
    EXPECT_FALSE(enabled("预览数量编辑框"));
    click("自动预览选择框");
    EXPECT_TRUE(checked("预览全部单选框"));
    EXPECT_TRUE(enabled("预览数量编辑框"));

    record_.preview_all = true;
    open();
    click("预览指定数量单选框");
    click("自动预览选择框");
    click("自动预览选择框");
    EXPECT_FALSE(enabled("预览数量编辑框"));
}

TEST_F(SettingsWindow, OnlyTheFirstCountChangeIsSilent) {
    record_.auto_preview = true;
    record_.preview_count = 1;  // the box's own lowest value
    for (int window = 0; window < 2; ++window) {
        SCOPED_TRACE(window);
        open();
        EXPECT_EQ(count_edit()->property("tag").toString(), QStringLiteral("标记"));
        EXPECT_FALSE(apply_enabled());
        count_edit()->setValue(25);
        EXPECT_TRUE(apply_enabled());
        click("应用按钮");
        EXPECT_EQ(record_.preview_count, 25);
        count_edit()->setValue(30);
        EXPECT_TRUE(apply_enabled());
        record_.preview_count = 1;
    }
}

TEST_F(SettingsWindow, ConfirmedColoursEnableApplyAndAreTakenAsBgr) {
    record_.font_colour = 0xFF000080;  // bits the pickers cannot show survive untouched
    open();
    services_.colour_choices.push_back(std::nullopt);
    click("超级列表框背景颜色选择器");
    EXPECT_FALSE(apply_enabled());

    services_.colour_choices.push_back(QColor(0x12, 0x34, 0x56));
    click("超级列表框背景颜色选择器");
    EXPECT_TRUE(apply_enabled());
    EXPECT_EQ(shown_colour("超级列表框背景颜色选择器"), 0x563412u);
    click("应用按钮");
    EXPECT_EQ(record_.background_colour, 0x563412u);
    EXPECT_EQ(record_.font_colour, 0xFF000080u);

    services_.colour_choices.push_back(QColor(0x12, 0x34, 0x56));  // the same colour again
    click("超级列表框字体颜色选择器");
    EXPECT_TRUE(apply_enabled());
    click("应用按钮");
    EXPECT_EQ(record_.font_colour, 0x563412u);
}

TEST_F(SettingsWindow, ChosenFaceIsStoredAtOnceAndSurvivesCancel) {
    open();
    services_.font_choices.push_back(std::nullopt);
    click("字体按钮");
    EXPECT_FALSE(apply_enabled());
    EXPECT_EQ(record_.font_name, song);

    QFont chosen(QStringLiteral("黑体"), 14);
    chosen.setBold(true);
    services_.font_choices.push_back(chosen);
    click("字体按钮");
    EXPECT_TRUE(apply_enabled());
    EXPECT_EQ(record_.font_name, hei);
    EXPECT_EQ(record_.font_size, 10);  // the size waits for OK or Apply
    click("取消按钮");
    EXPECT_EQ(applied_, 0);
    EXPECT_EQ(record_.font_name, hei);
    EXPECT_EQ(record_.font_size, 10);
    EXPECT_FALSE(record_.bold);
}

TEST_F(SettingsWindow, ApplyTakesTheChosenFontButNotItsStyle) {
    open();
    QFont chosen(QStringLiteral("DejaVu Sans"), 14);
    chosen.setItalic(true);
    services_.font_choices.push_back(chosen);
    click("字体按钮");
    click("应用按钮");
    EXPECT_EQ(record_.font_name, "DejaVu Sans");
    EXPECT_EQ(record_.font_size, 14);
    EXPECT_FALSE(record_.italic);

    click("字体按钮");  // the chooser reopens with the last choice
    ASSERT_EQ(services_.fonts_offered.size(), 2u);
    EXPECT_EQ(services_.fonts_offered[1].family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(services_.fonts_offered[1].pointSize(), 14);
    EXPECT_TRUE(services_.fonts_offered[1].italic());
}

TEST_F(SettingsWindow, DefaultsResetTheControlsOnly) {
    record_ = {true, true, 57, 0x0000FF, 0xFF0000, hei, 12, true, false};
    const Settings before = record_;
    open();
    click("默认按钮");
    EXPECT_TRUE(apply_enabled());
    EXPECT_FALSE(checked("自动预览选择框"));
    EXPECT_TRUE(checked("预览指定数量单选框"));
    EXPECT_FALSE(checked("预览全部单选框"));
    EXPECT_EQ(count_edit()->text(), u"10"_s);
    EXPECT_FALSE(enabled("预览数量编辑框"));
    EXPECT_EQ(shown_colour("超级列表框背景颜色选择器"), 0x80A080u);
    EXPECT_EQ(shown_colour("超级列表框字体颜色选择器"), 0x800000u);
    EXPECT_EQ(record_, before);

    click("取消按钮");
    EXPECT_EQ(record_, before);
    EXPECT_EQ(applied_, 0);
}

TEST_F(SettingsWindow, DefaultsThenApplyKeepTheStyleFlags) {
    record_ = {true, true, 57, 0x0000FF, 0xFF0000, hei, 12, true, true};
    open();
    click("默认按钮");
    click("字体按钮");  // the chooser was reset too
    ASSERT_EQ(services_.fonts_offered.size(), 1u);
    EXPECT_EQ(services_.fonts_offered[0].family(), QStringLiteral("宋体"));
    EXPECT_EQ(services_.fonts_offered[0].pointSize(), 10);
    EXPECT_FALSE(services_.fonts_offered[0].bold());
    EXPECT_FALSE(services_.fonts_offered[0].italic());

    click("应用按钮");
    Settings expected;
    expected.bold = true;
    expected.italic = true;
    EXPECT_EQ(record_, expected);
}

TEST_F(SettingsWindow, TagEncodingAndRenameOrderAreChosenInTheirBoxes) {
    struct Box {
        const char* name;
        const char* first;
        bool Settings::*field;
    };
    for (const Box& b : {Box{"ID3v2文字编码组合框", "GBK", &Settings::v2_unicode},
                         Box{"冲突处理组合框", "按顺序", &Settings::smart_order}}) {
        SCOPED_TRACE(b.name);
        record_ = Settings{};
        open();
        auto* box = control<QComboBox>(b.name);
        ASSERT_EQ(box->count(), 2);
        EXPECT_EQ(box->currentText(), QString::fromUtf8(b.first));
        box->setCurrentIndex(1);
        emit box->activated(1);
        EXPECT_TRUE(apply_enabled());
        click("确定按钮");
        EXPECT_TRUE(record_.*(b.field));
    }
}

// The stand-in for a '/' of a tag field: shown from the record, typed or
// chosen, never itself a '/'.
TEST_F(SettingsWindow, SlashStandInIsEditedInItsBoxAndNeverASlash) {
    record_.slash_stand_in = codec_.from_utf8("＼").value();
    open();
    auto* box = control<QComboBox>("斜杠替换组合框");
    EXPECT_EQ(box->currentText(), QStringLiteral("＼"));
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), QStringLiteral("a/b"));
    EXPECT_EQ(box->currentText(), QStringLiteral("ab"));
    EXPECT_TRUE(apply_enabled());
    click("应用按钮");
    EXPECT_EQ(record_.slash_stand_in, "ab");
    click("默认按钮");
    EXPECT_EQ(box->currentText(), QStringLiteral("／"));
    click("确定按钮");
    EXPECT_EQ(record_.slash_stand_in, Settings::default_slash_stand_in());
}

// Enter means 确定 wherever the focus is: it never opens a chooser.
TEST_F(SettingsWindow, EnterMeansOkFromEveryControl) {
    for (const char* focused : {"超级列表框背景颜色选择器", "超级列表框字体颜色选择器", "字体按钮",
                                "默认按钮", "预览数量编辑框", "自动预览选择框"}) {
        SCOPED_TRACE(focused);
        services_.colour_choices.assign(1, QColor(Qt::red));
        open();
        click("自动预览选择框");  // something to apply
        QWidget* widget = control(focused);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_Return);
        EXPECT_EQ(window_->result(), QDialog::Accepted);
        EXPECT_EQ(services_.colour_choices.size(), 1u);
        EXPECT_TRUE(services_.fonts_offered.empty());
    }
    EXPECT_EQ(applied_, 6);
}

// At a big font every control is at least as big as its text needs, and
// the window grows as much as they need.
TEST_F(SettingsWindow, GrowsWithTheFont) {
    const QFont original = QApplication::font();
    QFont big = original;
    big.setPointSize(16);
    QApplication::setFont(big);
    open();
    QApplication::setFont(original);
    EXPECT_GT(window_->width(), 411);
    EXPECT_GT(window_->height(), 208);
    for (const char* name : {"自动预览选择框", "预览指定数量单选框", "预览全部单选框", "标签3",
                             "标签1", "预览数量编辑框", "确定按钮"}) {
        SCOPED_TRACE(name);
        const QWidget* widget = control(name);
        EXPECT_GE(widget->height(), widget->sizeHint().height());
        EXPECT_TRUE(window_->rect().contains(widget->mapTo(window_.get(), QPoint(0, 0))));
    }
    const QWidget* check = control("自动预览选择框");
    EXPECT_GE(check->width(), check->sizeHint().width());
}

// 界面语言 lists 自动, 中文 and English, shows the record's choice, and is
// taken into the record like every other setting (OK after a change, not
// Cancel); a changed choice is said to take effect at the next start.
TEST_F(SettingsWindow, LanguageIsChosenInItsBoxAndTakesEffectAtTheNextStart) {
    const struct {
        LanguageChoice recorded;
        int shown;  // the entry the box opens on
        int chosen;
        LanguageChoice taken;
        const char* button;
    } cases[] = {
        {LanguageChoice::automatic, 0, 2, LanguageChoice::english, "确定按钮"},
        {LanguageChoice::english, 2, 1, LanguageChoice::chinese, "应用按钮"},
        {LanguageChoice::chinese, 1, 0, LanguageChoice::automatic, "确定按钮"},
        {LanguageChoice::automatic, 0, 1, LanguageChoice::automatic, "取消按钮"},
        {LanguageChoice::english, 2, 2, LanguageChoice::english, "确定按钮"},  // unchanged
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        record_.language = c.recorded;
        services_.messages.clear();
        open();
        auto* box = control<QComboBox>("界面语言组合框");
        ASSERT_EQ(box->count(), 3);
        EXPECT_EQ(box->itemText(0), QStringLiteral("自动"));
        EXPECT_EQ(box->itemText(1), QStringLiteral("中文"));
        EXPECT_EQ(box->itemText(2), QStringLiteral("English"));
        EXPECT_EQ(box->currentIndex(), c.shown);
        box->setCurrentIndex(c.chosen);
        emit box->activated(c.chosen);
        EXPECT_TRUE(apply_enabled());
        click(c.button);
        EXPECT_EQ(record_.language, c.taken);
        const bool told = c.taken != c.recorded;
        ASSERT_EQ(services_.messages.size(), told ? 1u : 0u);
        if (told) {
            EXPECT_EQ(services_.messages[0].text,
                      QStringLiteral("界面语言的更改在下次启动时生效。"));
        }
    }
}

}  // namespace
}  // namespace varnel
