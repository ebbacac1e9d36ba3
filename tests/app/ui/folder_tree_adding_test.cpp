// Adding a folder from the folder picker with and without 包含子文件夹,
// and the one message about folders the user may not read.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ui/main_window.h"
#include "support/fake_ui_services.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::nobody;
const std::string gbk_folder = "\xD6\xD0";  // 中

// Makes the process act as nobody for a scope when it runs as root (glibc
// changes every thread's effective user); `acting` is false when it cannot.
class ActAsNonRoot {
public:
    ActAsNonRoot() : was_root_(::geteuid() == 0) { acting = !was_root_ || ::seteuid(nobody) == 0; }
    ~ActAsNonRoot() {
        if (was_root_) {
            EXPECT_EQ(::seteuid(0), 0);
        }
    }
    bool acting = false;

private:
    bool was_root_;
};

class FolderTreeAdding : public testing::Test {
protected:
    FolderTreeAdding() {
        window = std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
        chmod(files.path().c_str(), 0755);
        for (const char* folder : {"a", "a/locked", "b", gbk_folder.c_str()})
            mkdir((files.path() + folder).c_str(), 0755);
        for (const char* name : {"top10", "top9", "a/f", "a/locked/f", "b/f"})
            files.write_file(name);
        files.write_file(gbk_folder + "/f");
    }
    ~FolderTreeAdding() override {
        for (const char* folder : {"a/locked", gbk_folder.c_str()})
            chmod((files.path() + folder).c_str(), 0755);
    }

    // The rows as "folder name", folders relative to the tree.
    std::vector<std::string> rows() const {
        std::vector<std::string> shown;
        for (int row = 0; row < window->list().item_count(); ++row)
            shown.push_back(window->list().item_folder(row).fs.substr(files.path().size()) + " " +
                            window->list().fs_name(row));
        return shown;
    }

    Codec codec;
    test::FakeUiServices ui;
    test::TempDir config;
    test::TempDir files;
    std::unique_ptr<MainWindow> window;
};

TEST_F(FolderTreeAdding, TheCheckBoxDecidesWhetherSubfoldersAreTaken) {
    struct Case {
        bool with_subfolders;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {false, {" top9", " top10"}},
        {true, {" top9", " top10", "a/ f", "a/locked/ f", "b/ f", gbk_folder + "/ f"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.with_subfolders);
        window->clear_list();
        ui.folder_choices.push_back(files.path().substr(0, files.path().size() - 1));
        ui.subfolder_choices.push_back(c.with_subfolders);
        window->add_folder();
        EXPECT_EQ(rows(), c.rows);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(ui.busy_depth, 0);
    }
}

TEST_F(FolderTreeAdding, FoldersThatCannotBeReadAreCountedInOneMessage) {
    chmod((files.path() + "a/locked").c_str(), 0);
    chmod((files.path() + gbk_folder).c_str(), 0300);
    ui.folder_choices.push_back(files.path());
    ui.subfolder_choices.push_back(true);
    {
        const ActAsNonRoot non_root;
        if (!non_root.acting) GTEST_SKIP() << "cannot act as a user who is not root";
        window->add_folder();
    }
    EXPECT_EQ(rows(), (std::vector<std::string>{" top9", " top10", "a/ f", "b/ f"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::warning);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("2个文件夹无法读取，其中的文件没有加入列表：\n") +
                                       QString::fromStdString(files.path()) +
                                       QStringLiteral("a/locked/：Permission denied\n") +
                                       QString::fromStdString(files.path()) +
                                       QStringLiteral("中/：Permission denied"));
    EXPECT_EQ(ui.busy_depth, 0);
}

}  // namespace
}  // namespace varnel
