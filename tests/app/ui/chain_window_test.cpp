// SPDX-License-Identifier: GPL-3.0-or-later
// The rule chain in the window: the steps built from the pages, the preview
// and the batch of the whole chain, and its one undo.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_view.h"
#include "rename/ui/chain_panel.h"
#include "rename/ui/rule_tabs.h"
#include "support/fake_ui_services.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::FakeUiServices;
using test::TempDir;

class ChainWindowTest : public ::testing::Test {
protected:
    ChainWindowTest() {
        window = std::make_unique<MainWindow>(
            MainWindowSetup{codec, ui, config.path() + "config.ini", config.path() + "dir.txt"});
        window->settings().auto_preview = true;
        window->settings().preview_all = true;
        window->apply_settings_to_list();
        for (const char* name : {"f1.txt", "f2.txt", "f3.txt"}) files.write_file(name, name);
        ui.folder_choices.push_back(files.path());
        window->add_folder_action()->trigger();
        window->chain_action()->trigger();
    }

    template <typename T>
    T* child(const char* name) const {
        T* found = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Page `page` shown, its fields typed in, then 添加当前规则.
    void add_step(int page, std::vector<std::pair<const char*, const char*>> fields,
                  const char* radio = nullptr) {
        window->rule_tabs()->setCurrentIndex(page);
        for (const auto& [name, text] : fields) {
            auto* field = child<QWidget>(name);
            auto* edit = qobject_cast<QLineEdit*>(field);
            if (!edit) edit = field->findChild<QLineEdit*>();  // a spin box's
            edit->setText(QString::fromUtf8(text));
        }
        if (radio) child<QAbstractButton>(radio)->click();
        child<QPushButton>("添加当前规则按钮")->click();
    }

    std::vector<QString> new_names_shown() const {
        const QAbstractItemModel* model = window->list_view()->model();
        std::vector<QString> names;
        for (int row = 0; row < model->rowCount(); ++row)
            names.push_back(model->data(model->index(row, 1)).toString());
        return names;
    }

    Codec codec;
    FakeUiServices ui;
    TempDir config;
    TempDir files;
    std::unique_ptr<MainWindow> window;
};

// Step 2 numbers the extensions of the names step 1 made; the files are
// renamed once each, and one undo brings every one back.
TEST_F(ChainWindowTest, AChainRenamesInOneBatchAndOneUndoRestoresIt) {
    add_step(1, {{"查找内容编辑框", "f"}, {"替换为编辑框", "歌"}});
    add_step(0, {{"扩展名前缀编辑框", "t"}, {"扩展名位数调节编辑框", "1"}}, "常规扩展名单选框");
    ASSERT_EQ(window->chain_panel()->steps().size(), 2U);
    // Off by default: the page shown alone still makes the names.
    window->refresh_preview(true);
    EXPECT_EQ(new_names_shown()[0], QStringLiteral("f1.t0"));

    child<QCheckBox>("使用规则链选择框")->setChecked(true);
    window->flush_preview();
    const std::vector<QString> chained{QStringLiteral("歌1.t0"), QStringLiteral("歌2.t1"),
                                       QStringLiteral("歌3.t2")};
    EXPECT_EQ(new_names_shown(), chained);

    window->rename_action()->trigger();
    EXPECT_EQ(files.names(), (std::vector<std::string>{"歌1.t0", "歌2.t1", "歌3.t2"}));
    ui.answers.push_back(MessageAnswer::yes);
    window->undo_command();
    EXPECT_EQ(files.names(), (std::vector<std::string>{"f1.txt", "f2.txt", "f3.txt"}));
    EXPECT_FALSE(window->undo_action()->isEnabled());
}

// A step whose pattern does not compile blocks 开始命名 while the chain is
// on, whichever page is shown, and names the step in the status bar.
TEST_F(ChainWindowTest, AStepThatCannotRunBlocksTheBatch) {
    add_step(1, {{"查找内容编辑框", "("}}, "正则表达式");
    child<QAbstractButton>("正则表达式")->click();  // the page itself is fine again
    window->rule_tabs()->setCurrentIndex(0);
    window->flush_preview();
    EXPECT_TRUE(window->rename_action()->isEnabled());

    child<QCheckBox>("使用规则链选择框")->setChecked(true);
    window->flush_preview();
    EXPECT_FALSE(window->rename_action()->isEnabled());
    EXPECT_TRUE(window->status_text(1).startsWith(QStringLiteral("第1步：")))
        << window->status_text(1).toStdString();
    window->rename_command();
    EXPECT_EQ(files.names(), (std::vector<std::string>{"f1.txt", "f2.txt", "f3.txt"}));

    child<QCheckBox>("使用规则链选择框")->setChecked(false);
    window->flush_preview();
    EXPECT_TRUE(window->rename_action()->isEnabled());
}

}  // namespace
}  // namespace varnel
