// SPDX-License-Identifier: GPL-3.0-or-later
// The font fallback under fontconfig configurations of its own (see
// CMakeLists.txt): LatinFontsOnly.* runs where DejaVu is the only font,
// WithACjkFont.* where WenQuanYi Micro Hei is installed beside it. Each test
// first checks that the fonts are the ones it was meant to run with.

#include "app/ui/font_coverage.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>

#include "app/ui/main_window.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

const QString latin_family = QStringLiteral("DejaVu Sans");
const QString cjk_family = QStringLiteral("WenQuanYi Micro Hei");

// The texts of a real main window, as the program checks them at start.
QString main_window_texts() {
    const Codec codec;
    FakeUiServices ui;
    TempDir config;
    const MainWindow window(
        MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
    return shown_texts(window);
}

// Runs with the application font set to `family`, restoring it afterwards.
class ApplicationFont {
public:
    explicit ApplicationFont(const QString& family) : saved_(QApplication::font()) {
        QApplication::setFont(QFont(family));
    }
    ~ApplicationFont() { QApplication::setFont(saved_); }
    ApplicationFont(const ApplicationFont&) = delete;
    ApplicationFont& operator=(const ApplicationFont&) = delete;

private:
    QFont saved_;
};

TEST(LatinFontsOnly, SaysOnceInTextTheLatinFontDraws) {
    ASSERT_TRUE(cjk_families().isEmpty()) << "this test needs a system without CJK fonts";
    ASSERT_TRUE(QFontDatabase::families().contains(latin_family));
    const QString texts = main_window_texts();
    ApplicationFont font(latin_family);
    ASSERT_FALSE(font_covers(QApplication::font(), texts));

    FakeUiServices ui;
    EXPECT_EQ(ensure_font_covers(texts, cjk_families(), ui), FontCoverage::none);
    ASSERT_EQ(ui.messages.size(), 1u);
    const QString shown = ui.messages[0].title + ui.messages[0].text;
    EXPECT_TRUE(font_covers(QApplication::font(), shown)) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("fonts-noto-cjk")));
    EXPECT_EQ(QApplication::font().families(), QStringList{latin_family});
}

TEST(WithACjkFont, TheWindowsTextsAreChineseAndLatinFontsLackThem) {
    const QString texts = main_window_texts();
    // Menu, tab and button texts of the window are among them.
    for (const char* text : {"关于(&A)...", "文件(&F)", "文件批量修改器"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    EXPECT_FALSE(font_covers(QFont(latin_family), texts));
    EXPECT_TRUE(font_covers(QFont(cjk_family), texts));
}

TEST(WithACjkFont, PutsTheCjkFontBehindALatinDefaultOnce) {
    ASSERT_TRUE(cjk_families().contains(cjk_family));
    const QString texts = main_window_texts();
    ApplicationFont font(latin_family);
    FakeUiServices ui;
    EXPECT_EQ(ensure_font_covers(texts, cjk_families(), ui), FontCoverage::fallback);
    EXPECT_EQ(QApplication::font().families(), (QStringList{latin_family, cjk_family}));
    // Checked again, the font is now complete and nothing more is added.
    EXPECT_EQ(ensure_font_covers(texts, cjk_families(), ui), FontCoverage::covered);
    EXPECT_EQ(QApplication::font().families().size(), 2);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(WithACjkFont, ACjkDefaultFontIsLeftAlone) {
    ApplicationFont font(cjk_family);
    FakeUiServices ui;
    EXPECT_EQ(ensure_font_covers(main_window_texts(), cjk_families(), ui), FontCoverage::covered);
    EXPECT_EQ(QApplication::font().families(), QStringList{cjk_family});
    EXPECT_TRUE(ui.messages.empty());
}

// Candidates that are not installed, or that lack a character, are passed
// over: no substitute font answers for a missing family.
TEST(WithACjkFont, TheCoveringFamilyIsTheFirstInstalledOneWithEveryCharacter) {
    const QString chinese = QStringLiteral("批量更名");
    struct Case {
        QStringList families;
        QString expected;
    };
    const Case cases[] = {
        {{QStringLiteral("No Such Font"), latin_family, cjk_family}, cjk_family},
        {{latin_family}, QString()},
        {{QStringLiteral("No Such Font")}, QString()},
        {{}, QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(covering_family(c.families, chinese), c.expected)
            << c.families.join(u',').toStdString();
    EXPECT_EQ(covering_family({latin_family}, QStringLiteral("Rename files")), latin_family);
}

}  // namespace
}  // namespace varnel
