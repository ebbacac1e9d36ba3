// SPDX-License-Identifier: GPL-3.0-or-later
// Every window on an 800x600 screen at 144 dpi (a device pixel ratio of 1.5,
// as a desktop set to 144 dpi gives Qt): the window, with a frame, fits on
// the screen, and its bottom controls are wholly in view and unsquashed.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTableWidget>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>

#include "app/ui/main_window.h"
#include "app/ui/settings_dialog.h"
#include "filelist/ui/file_list_view.h"
#include "id3/ui/tag_dialog.h"
#include "id3/ui/tag_fix_dialog.h"
#include "rename/ui/rule_tabs.h"
#include "support/fake_ui_services.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

constexpr int screen_width = 800;
constexpr int screen_height = 600;
constexpr int frame_width = 20;   // device pixels a window frame may take
constexpr int frame_height = 40;  // and its title bar

class SmallScreen : public testing::Test {
protected:
    void SetUp() override {
        // "高清" (GBK) in an ID3v2 title: the 标签转为Unicode window has a row to show.
        files.write_file("song.mp3", test::id3v2_tag(test::text_frame("TIT2", "\xB8\xDF\xC7\xE5")) +
                                         test::fake_audio(64));
    }
    std::string song() const { return files.path() + "song.mp3"; }

    Codec codec;
    test::FakeUiServices ui;
    test::TempDir config;
    test::TempDir files;
    Settings settings;
};

// Device pixels a size takes on the screen, with the window frame.
QSize on_screen(const QSize& size, double ratio) {
    return {static_cast<int>(std::ceil(size.width() * ratio)) + frame_width,
            static_cast<int>(std::ceil(size.height() * ratio)) + frame_height};
}

TEST_F(SmallScreen, TheScreenIs800x600At144Dpi) {
    const QScreen* screen = QApplication::primaryScreen();
    EXPECT_DOUBLE_EQ(screen->devicePixelRatio(), 1.5);
    EXPECT_EQ(screen->geometry().size(), QSize(533, 400));
}

TEST_F(SmallScreen, EveryWindowFitsWithItsBottomControlsInView) {
    const struct {
        const char* window;
        std::function<std::unique_ptr<QWidget>()> make;
        std::vector<const char*> bottom;
    } windows[] = {
        {"main window",
         [&] {
             return std::make_unique<MainWindow>(MainWindowSetup{
                 codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
         },
         {"状态条", "状态条面板2"}},
        {"tag dialog",
         [&] { return std::make_unique<TagDialog>(song(), song(), codec, ui); },
         {"v1复制到v2按钮", "v2复制到v1按钮", "更新按钮", "关闭按钮"}},
        {"标签转为Unicode",
         [&] {
             return std::make_unique<TagFixDialog>(std::vector<std::string>{song()}, ui, codec,
                                                   false);
         },
         {"v1生成v2复选框", "确定按钮", "取消按钮"}},
        {"settings",
         [&] { return std::make_unique<SettingsDialog>(settings, codec, ui, [] {}); },
         {"默认按钮", "确定按钮", "取消按钮", "应用按钮"}},
    };
    const double ratio = QApplication::primaryScreen()->devicePixelRatio();
    for (const auto& w : windows) {
        SCOPED_TRACE(w.window);
        const std::unique_ptr<QWidget> window = w.make();
        window->show();
        QApplication::processEvents();
        for (const QSize& size : {window->minimumSize(), window->size()}) {
            const QSize needed = on_screen(size, ratio);
            EXPECT_LE(needed.width(), screen_width) << size.width();
            EXPECT_LE(needed.height(), screen_height) << size.height();
        }
        for (const char* name : w.bottom) {
            SCOPED_TRACE(name);
            const auto* control = window->findChild<QWidget*>(QString::fromUtf8(name));
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(control->isVisible());
            EXPECT_EQ(control->visibleRegion(), QRegion(control->rect()));
            const QRect in_window(control->mapTo(window.get(), QPoint(0, 0)), control->size());
            EXPECT_TRUE(window->rect().contains(in_window)) << in_window.bottom();
            EXPECT_GE(control->height(), control->minimumSizeHint().height());
        }
    }
}

// A window that fits keeps its design size.
TEST_F(SmallScreen, TheSettingsWindowKeepsItsDesignSize) {
    SettingsDialog dialog(settings, codec, ui, [] {});
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.size(), QSize(411, 208));
}

TEST_F(SmallScreen, TheMainWindowShowsWholePagesAndRowsOfTheList) {
    MainWindow window(
        MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
    window.show();
    window.resize(window.minimumSize());
    QApplication::processEvents();
    EXPECT_GE(window.list_view()->height(), 60);
    // The list gives up rows before the page is cut: only the too-wide page scrolls, sideways.
    const auto* scroll = window.findChild<QScrollArea*>(QStringLiteral("选择夹滚动区"));
    ASSERT_NE(scroll, nullptr);
    EXPECT_GE(scroll->viewport()->height(), window.rule_tabs()->height());
}

// Fields that do not fit scroll rather than being squashed below their text.
TEST_F(SmallScreen, TheTagDialogScrollsItsFieldsInsteadOfSquashingThem) {
    TagDialog dialog(song(), song(), codec, ui);
    dialog.show();
    QApplication::processEvents();
    int fields = 0;
    for (QWidget* field : dialog.findChildren<QWidget*>()) {
        const bool text_field = qobject_cast<QLineEdit*>(field) ||
                                qobject_cast<QComboBox*>(field) || qobject_cast<QCheckBox*>(field);
        if (!text_field || field->objectName().isEmpty()) continue;  // parts of a combo box
        ++fields;
        EXPECT_GE(field->height(), field->minimumSizeHint().height())
            << field->objectName().toStdString();
    }
    EXPECT_GE(fields, 10);
}

}  // namespace
}  // namespace varnel

int main(int argc, char** argv) {
    // A desktop at 144 dpi: Qt scales by 144/96, as it does for a forced Xft.dpi.
    setenv("QT_FONT_DPI", "144", 1);
    setenv("QT_QPA_PLATFORM", "offscreen:configfile=" SMALL_SCREEN_CONFIG, 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
