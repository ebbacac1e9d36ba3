// SPDX-License-Identifier: GPL-3.0-or-later
// Files whose names are not UTF-8 reach the list by every route (the file
// chooser, the folder chooser, a drop) and are renamed; dropped files keep
// their own folders; a folder's files come in natural order.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/ui/main_window.h"
#include "platform/ui/file_chooser.h"
#include "platform/ui/qt_ui_services.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

const std::string gbk_name = "\xC4\xE3\xBA\xC3.mp3";  // 你好.mp3 in GBK

// The real choosers; everything else scripted.
class ChooserServices final : public UiServices {
public:
    MessageAnswer message_box(QWidget* parent, const QString& title, const QString& text,
                              MessageIcon icon, MessageButtons buttons) override {
        return fake.message_box(parent, title, text, icon, buttons);
    }
    std::vector<std::string> open_files(QWidget* parent, const QString& title,
                                        const std::string& folder,
                                        const std::vector<ChooserFilter>& filters) override {
        return real.open_files(parent, title, folder, filters);
    }
    std::optional<FolderChoice> choose_folder(QWidget* parent, const QString& prompt,
                                              const std::string& folder,
                                              bool with_subfolders) override {
        return real.choose_folder(parent, prompt, folder, with_subfolders);
    }
    std::optional<QFont> choose_font(QWidget* parent, const QFont& initial) override {
        return fake.choose_font(parent, initial);
    }
    std::optional<QColor> choose_colour(QWidget* parent, const QColor& initial) override {
        return fake.choose_colour(parent, initial);
    }
    void set_busy(bool busy) override { fake.set_busy(busy); }
    bool open_url(const QString& url) override { return fake.open_url(url); }
    std::optional<QByteArray> fetch(const QString& url) override { return fake.fetch(url); }

    QtUiServices real;
    test::FakeUiServices fake;
};

// Runs `act` on the chooser as soon as it is open.
void when_chooser_opens(std::function<void(FileChooser&)> act) {
    QTimer::singleShot(10, [act] {
        if (auto* chooser = qobject_cast<FileChooser*>(QApplication::activeModalWidget()))
            act(*chooser);
        else
            when_chooser_opens(act);
    });
}

QByteArray uri_of(const std::string& path) {
    return "file://" +
           QByteArray(path.data(), static_cast<qsizetype>(path.size())).toPercentEncoding("/");
}

class LegacyNames : public testing::Test {
protected:
    LegacyNames() {
        window = std::make_unique<MainWindow>(MainWindowSetup{
            codec, services, config.path() + "config.ini", config.path() + "dir.txt"});
    }

    void drop(const QByteArray& uri_list) {
        auto* data = new QMimeData;
        data->setData(QStringLiteral("text/uri-list"), uri_list);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        // Straight to the window, as the platform's drag delivers it (the
        // application's filter wants a drag in progress).
        static_cast<QObject*>(window.get())->event(&event);
        delete data;
    }

    // Renames with the default numbering rule and checks the legacy file
    // is now 0.mp3.
    void rename_and_check() {
        ASSERT_EQ(window->list().item_count(), 1);
        EXPECT_EQ(window->list().fs_name(0), gbk_name);
        EXPECT_EQ(window->list().old_names()[0], gbk_name);  // GBK is the code page
        window->rename_action()->trigger();
        EXPECT_EQ(files.names(), std::vector<std::string>{"0.mp3"});
        EXPECT_EQ(window->list().fs_name(0), "0.mp3");
    }

    Codec codec;
    ChooserServices services;
    test::TempDir config;
    test::TempDir files;
    std::unique_ptr<MainWindow> window;
};

TEST_F(LegacyNames, ThroughTheFileChooser) {
    files.write_file(gbk_name, "x");
    when_chooser_opens([this](FileChooser& chooser) {
        chooser.show_folder(files.path());
        auto* entries = chooser.findChild<QListWidget*>(QStringLiteral("文件列表框"));
        entries->findItems(QStringLiteral("你好.mp3"), Qt::MatchExactly)
            .value(0)
            ->setSelected(true);
        chooser.findChild<QPushButton*>(QStringLiteral("打开按钮"))->click();
    });
    window->add_files();
    rename_and_check();
    // dir.txt remembers the folder, and the next chooser opens there.
    EXPECT_EQ(config.read_file("dir.txt"), files.path() + "\r\n");
    std::string opened_in;
    when_chooser_opens([&opened_in](FileChooser& chooser) {
        opened_in = chooser.folder();
        chooser.reject();
    });
    window->add_files();
    EXPECT_EQ(opened_in, files.path());
}

TEST_F(LegacyNames, ThroughTheFolderChooser) {
    files.write_file(gbk_name, "x");
    when_chooser_opens([this](FileChooser& chooser) {
        EXPECT_EQ(chooser.windowTitle(), QStringLiteral("请选择一个目录"));
        chooser.show_folder(files.path());
        chooser.findChild<QPushButton*>(QStringLiteral("打开按钮"))->click();
    });
    window->add_folder();
    rename_and_check();
}

// 包含子文件夹 checked: every folder of the tree, legacy ones at every
// depth, each file renamed in its own folder; the link back to the top
// is not followed.
TEST_F(LegacyNames, ThroughTheFolderChooserWithSubfolders) {
    const std::string gbk_top = "\xD6\xD0";       // 中
    const std::string gbk_deep = "\xCE\xC4.txt";  // 文.txt
    files.write_file(gbk_name, "top");
    ASSERT_EQ(mkdir((files.path() + "sub").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((files.path() + gbk_top).c_str(), 0755), 0);
    ASSERT_EQ(mkdir((files.path() + gbk_top + "/2").c_str(), 0755), 0);
    files.write_file("sub/b.mp3", "sub");
    files.write_file(gbk_top + "/" + gbk_name, "middle");
    files.write_file(gbk_top + "/2/" + gbk_deep, "deep");
    ASSERT_EQ(symlink("..", (files.path() + gbk_top + "/2/up").c_str()), 0);
    when_chooser_opens([this](FileChooser& chooser) {
        chooser.show_folder(files.path());
        chooser.findChild<QCheckBox*>(QStringLiteral("包含子文件夹"))->click();
        chooser.findChild<QPushButton*>(QStringLiteral("打开按钮"))->click();
    });
    window->add_folder();
    const std::vector<std::pair<std::string, std::string>> expected{
        {"", gbk_name}, {"sub/", "b.mp3"}, {gbk_top + "/", gbk_name}, {gbk_top + "/2/", gbk_deep}};
    ASSERT_EQ(window->list().item_count(), static_cast<int>(expected.size()));
    for (int row = 0; row < window->list().item_count(); ++row) {
        const auto& [folder, name] = expected[static_cast<std::size_t>(row)];
        EXPECT_EQ(window->list().item_folder(row).fs, files.path() + folder) << row;
        EXPECT_EQ(window->list().fs_name(row), name) << row;
    }
    EXPECT_TRUE(services.fake.messages.empty());
    window->rename_action()->trigger();
    EXPECT_EQ(files.read_file("0.mp3"), "top");
    EXPECT_EQ(files.read_file("sub/1.mp3"), "sub");
    EXPECT_EQ(files.read_file(gbk_top + "/2.mp3"), "middle");
    EXPECT_EQ(files.read_file(gbk_top + "/2/3.txt"), "deep");
}

TEST_F(LegacyNames, ThroughARawUriListDrop) {
    files.write_file(gbk_name, "x");
    drop("# from a file manager\r\n" + uri_of(files.path() + gbk_name) + "\r\n");
    rename_and_check();
}

// Dropped from search results: d1/a.txt and d2/b.txt, while d1 also holds
// a b.txt the user never dropped. Files come first, then the folder's.
TEST_F(LegacyNames, DroppedFilesKeepTheirOwnFolders) {
    mkdir((files.path() + "d1").c_str(), 0755);
    mkdir((files.path() + "d2").c_str(), 0755);
    mkdir((files.path() + "d3").c_str(), 0755);
    files.write_file("d1/a.txt", "a");
    files.write_file("d1/b.txt", "never dropped");
    files.write_file("d2/b.txt", "b");
    files.write_file("d3/c.txt", "c");
    drop(uri_of(files.path() + "d1/a.txt") + "\r\n" + uri_of(files.path() + "d3") + "\r\n" +
         uri_of(files.path() + "d2/b.txt") + "\r\n");
    ASSERT_EQ(window->list().item_count(), 3);
    EXPECT_EQ(window->list().item_folder(0).fs, files.path() + "d1/");
    EXPECT_EQ(window->list().item_folder(1).fs, files.path() + "d2/");
    EXPECT_EQ(window->list().item_folder(2).fs, files.path() + "d3/");
    window->rename_action()->trigger();
    EXPECT_EQ(files.read_file("d1/0.txt"), "a");
    EXPECT_EQ(files.read_file("d1/b.txt"), "never dropped");
    EXPECT_EQ(files.read_file("d2/1.txt"), "b");
    EXPECT_EQ(files.read_file("d3/2.txt"), "c");
}

TEST_F(LegacyNames, AFoldersFilesComeInNaturalOrderAndTheListStaysUnsorted) {
    for (const char* name : {"track_10.mp3", "track_2.mp3", "Track_1.mp3", "track_14158.mp3"})
        files.write_file(name);
    files.write_file(gbk_name);
    window->add_folder_at(files.path());
    window->add_folder_at(files.path());  // appended after, not merged
    ASSERT_EQ(window->list().item_count(), 10);
    const std::vector<std::string> expected{"Track_1.mp3", "track_2.mp3", "track_10.mp3",
                                            "track_14158.mp3", gbk_name};
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(window->list().old_names()[static_cast<std::size_t>(row)],
                  expected[static_cast<std::size_t>(row % 5)]);
}

}  // namespace
}  // namespace varnel
