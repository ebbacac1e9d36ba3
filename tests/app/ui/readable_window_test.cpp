// SPDX-License-Identifier: GPL-3.0-or-later
// The main window at any font and from the keyboard: pages and rows grow
// with the font, menu highlights stay readable, cells tell what changed and
// why a row failed, the toolbar has keys and distinct icons.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "app/ui/main_window.h"
#include "app/ui/qt_translations.h"
#include "filelist/ui/file_list_view.h"
#include "filelist/ui/list_context_menu.h"
#include "rename/ui/rule_tabs.h"
#include "support/fake_ui_services.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

class ReadableWindow : public testing::Test {
protected:
    std::unique_ptr<MainWindow> make_window() {
        return std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
    }

    Codec codec;
    test::FakeUiServices ui;
    test::TempDir config;
    test::TempDir files;
};

// Controls squashed below what their text needs, on every rule page.
std::vector<QString> squashed_controls(MainWindow& window) {
    std::vector<QString> squashed;
    RuleTabs* tabs = window.rule_tabs();
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        QApplication::processEvents();
        for (QWidget* widget : tabs->widget(page)->findChildren<QWidget*>()) {
            const bool text_control =
                qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
                qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget);
            if (!text_control || widget->objectName().startsWith(QStringLiteral("qt_"))) continue;
            if (widget->height() < widget->minimumSizeHint().height())
                squashed.push_back(widget->objectName());
        }
    }
    return squashed;
}

TEST_F(ReadableWindow, PagesKeepTheDesignAtTheDefaultFontAndGrowWithABigOne) {
    auto window = make_window();
    window->show();
    EXPECT_EQ(window->rule_tabs()->height(), 130);
    EXPECT_EQ(window->minimumSize(), QSize(598, 378));
    EXPECT_EQ(squashed_controls(*window), std::vector<QString>{});

    const QFont original = QApplication::font();
    for (double points : {12.5, 16.0, 24.0}) {
        SCOPED_TRACE(points);
        QFont big = original;
        big.setPointSizeF(points);
        QApplication::setFont(big);
        auto grown = make_window();
        grown->show();
        EXPECT_GT(grown->rule_tabs()->height(), 130);
        EXPECT_EQ(squashed_controls(*grown), std::vector<QString>{});
        // The window grows instead of the list shrinking below its design height.
        grown->resize(grown->minimumSize());
        QApplication::processEvents();
        EXPECT_GE(grown->list_view()->height(), 378 - 226);
    }
    QApplication::setFont(original);
}

TEST_F(ReadableWindow, RowsFollowTheListFont) {
    auto window = make_window();
    files.write_file("a.txt");
    window->add_folder_at(files.path());
    for (int points : {10, 14, 24}) {
        window->settings().font_size = points;
        window->apply_settings_to_list();
        const FileListView* view = window->list_view();
        EXPECT_GE(view->rowHeight(0), QFontMetrics(view->font()).height() + 2) << points;
        EXPECT_GE(view->columnWidth(0), 150);
    }
}

double luminance(const QColor& colour) {
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

TEST_F(ReadableWindow, MenuHighlightKeepsItsTextReadableOnAnyBackground) {
    auto window = make_window();
    for (std::uint32_t background :
         {0xFFFFFFu, 0x000000u, 0x80A080u, 0x808080u, 0x00FFFFu, 0x800000u, 0xFF0000u}) {
        window->settings().background_colour = background;
        window->apply_settings_to_list();
        const QPalette palette = window->context_menu()->palette();
        const double a = luminance(palette.color(QPalette::Highlight));
        const double b = luminance(palette.color(QPalette::HighlightedText));
        const double contrast = (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
        EXPECT_GE(contrast, 4.5) << std::hex << background;
    }
}

TEST_F(ReadableWindow, TagPreviewRepaintsTheTagColumnAndFailuresExplainThemselves) {
    auto window = make_window();
    files.write_file("plain.mp3", test::fake_audio(32));
    files.write_file("note.txt");
    window->add_folder_at(files.path());
    window->settings().auto_preview = true;
    window->rule_tabs()->setCurrentIndex(4);
    QSignalSpy changed(window->list_view()->model(), &QAbstractItemModel::dataChanged);
    window->findChild<QLineEdit*>(QStringLiteral("MP3命名规则编辑框"))
        ->setText(QStringLiteral("#1"));
    window->flush_preview();
    const auto announced = [&](int row, Column column) {
        for (const QList<QVariant>& change : changed) {
            const auto top_left = change[0].value<QModelIndex>();
            const auto bottom_right = change[1].value<QModelIndex>();
            if (top_left.row() <= row && row <= bottom_right.row() &&
                top_left.column() <= static_cast<int>(column) &&
                static_cast<int>(column) <= bottom_right.column())
                return true;
        }
        return false;
    };
    // Natural order: note.txt, then plain.mp3.
    ASSERT_EQ(window->list().get_cell(1, Column::tag_status),
              "\xCE\xDE\xB1\xEA\xC7\xA9");  // 无标签
    EXPECT_TRUE(announced(0, Column::tag_status));
    EXPECT_TRUE(announced(1, Column::tag_status));
    EXPECT_EQ(window->list_view()->model()->index(0, 4).data().toString(),
              QStringLiteral("非MP3文件"));

    // A failed row carries the system's reason as the status cell's tip.
    window->list().set_rename_status(1, "x", StatusImage::failure,
                                     "\xC8\xA8\xCF\xDE\xB2\xBB\xB9\xBB");
    EXPECT_TRUE(announced(1, Column::rename_status));
    const QAbstractItemModel* model = window->list_view()->model();
    EXPECT_EQ(model->index(1, 3).data(Qt::ToolTipRole).toString(), QStringLiteral("权限不够"));
    EXPECT_FALSE(model->index(0, 3).data(Qt::ToolTipRole).isValid());
}

TEST_F(ReadableWindow, ToolbarKeysAreNamedInTheTipsAndTheIconsAreDistinctAndColoured) {
    auto window = make_window();
    const struct {
        QAction* action;
        const char* tip;
        QKeySequence keys;
    } keyed[] = {
        {window->undo_action(), "撤消 (Ctrl+Z)", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {window->preview_action(), "预览 (F5)", QKeySequence(Qt::Key_F5)},
        {window->rename_action(), "开始命名 (Ctrl+R)", QKeySequence(Qt::CTRL | Qt::Key_R)}};
    for (const auto& k : keyed) {
        EXPECT_EQ(k.action->toolTip(), QString::fromUtf8(k.tip));
        EXPECT_EQ(k.action->shortcut(), k.keys);
    }
    EXPECT_EQ(window->add_folder_action()->toolTip(), QStringLiteral("选择目录"));

    std::vector<QImage> images;
    for (QAction* action :
         {window->add_folder_action(), window->add_files_action(), window->undo_action(),
          window->preview_action(), window->rename_action()}) {
        const QImage image = action->icon().pixmap(QSize(16, 15)).toImage();
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.alpha() > 200 && pixel.hsvSaturation() > 120 && pixel.value() > 100)
                    ++coloured;
            }
        EXPECT_GE(coloured, 10) << action->text().toStdString();
        for (const QImage& other : images) EXPECT_NE(image, other) << action->text().toStdString();
        images.push_back(image);
    }

    // F5 previews from the keyboard.
    files.write_file("a.txt");
    window->add_folder_at(files.path());
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->list_view()->setFocus();
    QTest::keyClick(window->list_view(), Qt::Key_F5);
    EXPECT_EQ(window->list().get_cell(0, Column::new_name), "0.txt");
}

TEST_F(ReadableWindow, InsertPageStartsWithOneRadioOfEachRowChecked) {
    auto window = make_window();
    for (const char* name : {"插入文件名位置单选框", "插入扩展名位置单选框"})
        EXPECT_TRUE(window->findChild<QRadioButton*>(QString::fromUtf8(name))->isChecked()) << name;
    for (const char* name : {"插入文件名尾单选框", "插入扩展名尾单选框"})
        EXPECT_FALSE(window->findChild<QRadioButton*>(QString::fromUtf8(name))->isChecked())
            << name;
}

TEST(QtTranslations, StandardButtonsAndDialogsSpeakChinese) {
    ASSERT_TRUE(use_language(*QCoreApplication::instance(), Language::chinese));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    EXPECT_EQ(QCoreApplication::translate("QColorDialog", "Select Color"),
              QStringLiteral("选择颜色"));
}

TEST(QtTranslations, EnglishIsBuiltInAndSwitchesBack) {
    auto& application = *QCoreApplication::instance();
    ASSERT_TRUE(use_language(application, Language::english));
    EXPECT_EQ(text_language(), Language::english);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    EXPECT_EQ(language_choice_text(LanguageChoice::automatic), QStringLiteral("Automatic"));
    ASSERT_TRUE(use_language(application, Language::chinese));
    EXPECT_EQ(text_language(), Language::chinese);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    EXPECT_EQ(language_choice_text(LanguageChoice::automatic), QStringLiteral("自动"));
}

}  // namespace
}  // namespace varnel
