// SPDX-License-Identifier: GPL-3.0-or-later
// The main window in English: no Chinese character in anything it shows —
// widgets, menus, tool and status tips, list headers, choosers, progress
// windows and the message boxes its commands raise.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <filesystem>

#include "app/ui/main_window.h"
#include "app/ui/qt_translations.h"
#include "filelist/ui/file_list_view.h"
#include "platform/ui/file_chooser.h"
#include "support/fake_ui_services.h"
#include "support/qt_text.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::has_chinese;
using test::TempDir;

// Every text a person can see in `root` and below, each with where it is.
class ShownTexts {
public:
    // `where` (design names, which stay Chinese) only tells a failure apart.
    void add(const QString& where, const QString& text) {
        if (!text.isEmpty()) texts_.push_back({where, text});
    }

    void add_action(const QString& where, const QAction& action) {
        const QString here = where + QStringLiteral(" > ") + action.text();
        for (const QString& text :
             {action.text(), action.toolTip(), action.statusTip(), action.whatsThis()})
            add(here, text);
        if (action.menu()) add_widget(*action.menu());
    }

    void add_widget(const QWidget& widget) {
        const QString where = widget.objectName().isEmpty()
                                  ? QString::fromLatin1(widget.metaObject()->className())
                                  : widget.objectName();
        for (const QString& text :
             {widget.windowTitle(), widget.toolTip(), widget.statusTip(), widget.whatsThis()})
            add(where, text);
        if (const auto* label = qobject_cast<const QLabel*>(&widget)) add(where, label->text());
        if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
            add(where, button->text());
        if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) add(where, group->title());
        if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
            add(where, edit->text());
            add(where, edit->placeholderText());
        }
        if (const auto* combo = qobject_cast<const QComboBox*>(&widget))
            for (int i = 0; i < combo->count(); ++i) add(where, combo->itemText(i));
        if (const auto* tabs = qobject_cast<const QTabWidget*>(&widget))
            for (int i = 0; i < tabs->count(); ++i) {
                add(where, tabs->tabText(i));
                add(where, tabs->tabToolTip(i));
            }
        if (const auto* view = qobject_cast<const QAbstractItemView*>(&widget);
            view && view->model())
            for (int column = 0; column < view->model()->columnCount(); ++column)
                add(where, view->model()->headerData(column, Qt::Horizontal).toString());
        for (const QAction* action : widget.actions()) add_action(where, *action);
        for (const QObject* child : widget.children())
            if (const auto* child_widget = qobject_cast<const QWidget*>(child))
                add_widget(*child_widget);
    }

    // "where: text" of each text with Chinese in it.
    std::vector<std::string> chinese() const {
        std::vector<std::string> found;
        for (const auto& [where, text] : texts_)
            if (has_chinese(text))
                found.push_back((where + QStringLiteral(": ") + text).toStdString());
        return found;
    }
    std::size_t size() const { return texts_.size(); }

private:
    std::vector<std::pair<QString, QString>> texts_;
};

class EnglishWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(use_language(*QCoreApplication::instance(), Language::english));
    }
    void TearDown() override {
        EXPECT_TRUE(use_language(*QCoreApplication::instance(), Language::chinese));
    }

    std::unique_ptr<MainWindow> make_window(const std::string& config_folder) {
        return std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config_folder + "config.ini", config.path() + "dir.txt"});
    }

    Codec codec;
    FakeUiServices ui;
    TempDir config;
    TempDir files;
};

TEST_F(EnglishWindow, WidgetsMenusTipsAndHeadersHaveNoChinese) {
    files.write_file("a.txt");
    files.write_file("b.mp3");
    auto window = make_window(config.path());
    ui.file_choices.push_back({files.path() + "a.txt", files.path() + "b.mp3"});
    window->add_files_action()->trigger();
    window->list_view()->selectRow(0);  // the context menu's items in their selected state

    ShownTexts shown;
    shown.add_widget(*window);
    for (const QString& text : ui.chooser_titles) shown.add(QStringLiteral("chooser"), text);
    for (const QString& text : ui.chooser_filter_captions)
        shown.add(QStringLiteral("chooser filter"), text);
    EXPECT_EQ(shown.chinese(), std::vector<std::string>{});
    EXPECT_GT(shown.size(), 120u);  // the menus, the five pages, the list and the status bar
    EXPECT_EQ(window->status_text(0), QStringLiteral("2 files"));
}

TEST_F(EnglishWindow, ChoosersHaveNoChinese) {
    for (const ChooserMode mode : {ChooserMode::files, ChooserMode::folder}) {
        FileChooser chooser(mode, QStringLiteral("title"), files.path(),
                            {ChooserFilter{QStringLiteral("All files (*.*)"), {"*.*"}}}, codec);
        ShownTexts shown;
        shown.add_widget(chooser);
        EXPECT_EQ(shown.chinese(), std::vector<std::string>{}) << static_cast<int>(mode);
        EXPECT_GE(shown.size(), 5u);
    }
}

// One message box's world: a desktop, a settings folder and a files folder.
struct Scene {
    Codec codec;
    FakeUiServices ui;
    TempDir config;
    TempDir files;

    std::unique_ptr<MainWindow> window(const std::string& config_folder) {
        return std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config_folder + "config.ini", config.path() + "dir.txt"});
    }
    std::unique_ptr<MainWindow> window() { return window(config.path()); }
};

// Each message box the window's commands raise, titles included.
TEST_F(EnglishWindow, MessageBoxesHaveNoChinese) {
    const struct Case {
        const char* what;
        std::function<void(Scene&)> act;
    } cases[] = {
        {"not an MP3 file",
         [](Scene& s) {
             s.files.write_file("a.txt");
             auto window = s.window();
             s.ui.file_choices.push_back({s.files.path() + "a.txt"});
             window->add_files_action()->trigger();
             window->list_view()->selectRow(0);
             window->show_tag_info();
         }},
        {"adding the home folder",
         [](Scene& s) {
             const QByteArray home = qgetenv("HOME");
             qputenv("HOME", QByteArray::fromStdString(s.files.path()));
             auto window = s.window();
             s.ui.folder_choices.push_back(s.files.path());
             window->add_folder_action()->trigger();
             qputenv("HOME", home);
         }},
        {"adding cancelled",
         [](Scene& s) {
             std::filesystem::create_directory(s.files.path() + "sub");  // where it stops
             s.files.write_file("sub/a.txt");
             auto window = s.window();
             s.ui.folder_choices.push_back(s.files.path());
             s.ui.subfolder_choices.push_back(true);
             s.ui.cancel_after = 0;
             window->add_folder_action()->trigger();
             EXPECT_EQ(s.ui.progress_labels.size(), 1u);
         }},
        {"renamed and undone",
         [](Scene& s) {
             s.files.write_file("a.txt");
             auto window = s.window();
             s.ui.folder_choices.push_back(s.files.path());
             window->add_folder_action()->trigger();
             window->rename_action()->trigger();
             EXPECT_FALSE(s.files.exists("a.txt"));
             s.ui.answers.push_back(MessageAnswer::yes);
             window->undo_action()->trigger();
             EXPECT_TRUE(s.files.exists("a.txt"));
         }},
        {"settings cannot be saved",
         [](Scene& s) {
             s.config.write_file("not-a-folder");  // the settings would go inside a file
             s.window(s.config.path() + "not-a-folder/");
         }},
    };
    for (const Case& c : cases) {
        Scene scene;
        c.act(scene);
        const std::vector<FakeUiServices::Message>& messages = scene.ui.messages;
        ASSERT_FALSE(messages.empty()) << c.what;
        for (const FakeUiServices::Message& message : messages) {
            EXPECT_FALSE(has_chinese(message.text)) << c.what << ": " << message.text.toStdString();
            EXPECT_FALSE(has_chinese(message.title))
                << c.what << ": " << message.title.toStdString();
        }
        for (const QString& label : scene.ui.progress_labels)
            EXPECT_FALSE(has_chinese(label)) << c.what << ": " << label.toStdString();
        for (const QString& title : scene.ui.chooser_titles)
            EXPECT_FALSE(has_chinese(title)) << c.what << ": " << title.toStdString();
    }
}

// The same look finds the Chinese texts under Chinese: the checks above
// can see what they look for.
TEST(ChineseWindow, TheSameLookFindsChinese) {
    ASSERT_TRUE(use_language(*QCoreApplication::instance(), Language::chinese));
    Codec codec;
    FakeUiServices ui;
    const TempDir config;
    MainWindow window(
        MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
    ShownTexts shown;
    shown.add_widget(window);
    EXPECT_GT(shown.chinese().size(), 100u);
}

}  // namespace
}  // namespace varnel
