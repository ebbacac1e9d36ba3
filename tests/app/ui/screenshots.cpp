// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the screenshots of docs/: the main window with a GBK-named file
// added through the file chooser, the chooser itself, the tag page with its
// marks, the conflict marks of a preview, the chain, and the list sorted by
// its column 大小, at one font size, in Chinese
// (the default) or English. Run under a real X server (xvfb-run):
//     varnel_screenshots OUT_DIR POINT_SIZE [chinese|english]
// English shots are named with "_en" before ".png".

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/ui/main_window.h"
#include "app/ui/qt_translations.h"
#include "app/ui/settings_dialog.h"
#include "filelist/adding.h"
#include "filelist/ui/file_list_view.h"
#include "platform/ui/qt_ui_services.h"
#include "rename/ui/chain_panel.h"
#include "rename/ui/rule_tabs.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

using namespace varnel;

namespace {

void save(QWidget* widget, const QString& path) {
    if (!widget->grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// Selects the first and the GBK-named file in the chooser, then opens them.
void pick_in_chooser(const QString& shot) {
    QWidget* chooser = QApplication::activeModalWidget();
    if (!chooser) {
        QTimer::singleShot(100, [shot] { pick_in_chooser(shot); });
        return;
    }
    auto* entries = chooser->findChild<QListWidget*>(QStringLiteral("文件列表框"));
    for (int row = 0; row < entries->count(); ++row) {
        const QString text = entries->item(row)->text();
        if (text == QStringLiteral("你好.mp3") || text == QStringLiteral("track2.mp3"))
            entries->item(row)->setSelected(true);
    }
    QApplication::processEvents();
    save(chooser, shot);
    chooser->findChild<QPushButton*>(QStringLiteral("打开按钮"))->click();
}

// The chain of three steps beside the pages, the list sorted by 旧文件名.
void save_chain_shot(MainWindow& window, const Codec& codec, const QString& shot) {
    window.findChild<QWidget*>(QStringLiteral("增量编辑框"))
        ->findChild<QLineEdit*>()
        ->setText(QStringLiteral("1"));
    std::vector<RuleStep> steps(3);
    steps[0].rule.active = RulePage::replace;
    steps[0].rule.replace.find = "track";
    steps[0].rule.replace.with = codec.from_utf8("曲目 ").value();
    steps[1].rule.active = RulePage::insert;
    steps[1].rule.insert.text = codec.from_utf8("（精选）").value();
    steps[1].rule.insert.at_end = true;
    steps[2].rule.active = RulePage::letter_case;
    steps[2].rule.letter_case = {CaseChoice::title_case, CaseChoice::lower};
    window.chain_action()->trigger();
    window.chain_panel()->set_steps(steps);
    window.chain_panel()->set_on(true);
    emit window.list_view()->horizontalHeader()->sectionClicked(0);
    window.list_view()->scrollToTop();
    window.flush_preview();  // the preview that follows typing, without its pause
    QApplication::processEvents();
    save(&window, shot);
}

// The columns 大小 and 修改时间 shown from the header's menu, the list sorted
// by 大小, scrolled to show them.
void save_columns_shot(MainWindow& window, const QString& shot) {
    window.chain_panel()->set_on(false);
    window.chain_action()->trigger();  // the chain hidden again
    FileListView* view = window.list_view();
    for (QAction* entry : view->column_menu()->actions()) entry->trigger();
    emit view->horizontalHeader()->sectionClicked(static_cast<int>(Column::size));
    view->scrollToTop();
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    window.flush_preview();  // the preview that follows typing, without its pause
    QApplication::processEvents();
    save(&window, shot);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const std::string language = argc == 4 ? argv[3] : "chinese";
    if ((argc != 3 && argc != 4) || (language != "chinese" && language != "english")) {
        std::fprintf(stderr, "usage: varnel_screenshots OUT_DIR POINT_SIZE [chinese|english]\n");
        return 2;
    }
    const bool english = language == "english";
    if (!use_language(application, english ? Language::english : Language::chinese))
        std::fprintf(stderr, "varnel_screenshots: the %s translation is missing\n",
                     language.c_str());
    const QString out = QString::fromLocal8Bit(argv[1]);
    const int points = std::stoi(argv[2]);
    QFont font = QApplication::font();
    font.setPointSize(points);
    QApplication::setFont(font);

    const test::TempDir config;
    const test::TempDir files;
    files.write_file("\xC4\xE3\xBA\xC3.mp3", test::fake_audio(64));  // 你好.mp3 in GBK
    files.write_file("track10.mp3", test::fake_audio(64));
    files.write_file("track2.mp3", test::id3v2_tag(test::text_frame("TPE1", "Artist") +
                                                   test::text_frame("TIT2", "Song")) +
                                       test::fake_audio(64));
    files.write_file("notes.txt", "notes");
    const Codec codec;
    // Without it the chooser only opens in another folder.
    (void)write_last_folder(config.path() + "dir.txt", codec.text_from_fs(files.path()));

    QtUiServices services;
    MainWindow window(
        MainWindowSetup{codec, services, config.path() + "config.ini", config.path() + "dir.txt"});
    window.settings().font_size = points;
    window.settings().auto_preview = true;
    window.settings().preview_all = true;
    window.apply_settings_to_list();
    window.show();
    const QString suffix =
        QStringLiteral("_%1pt%2.png").arg(points).arg(english ? QStringLiteral("_en") : QString());
    QTimer::singleShot(200, [&] { pick_in_chooser(out + QStringLiteral("/chooser") + suffix); });
    window.add_files();
    window.flush_preview();  // the preview that follows typing, without its pause
    QApplication::processEvents();
    save(&window, out + QStringLiteral("/main_window") + suffix);
    window.add_folder_at(files.path());

    window.rule_tabs()->setCurrentIndex(4);
    window.findChild<QLineEdit*>(QStringLiteral("MP3命名规则编辑框"))
        ->setText(QStringLiteral("#1-#2"));
    QScrollBar* across = window.list_view()->horizontalScrollBar();
    across->setValue(across->maximum());  // the marks are in the last column
    window.flush_preview();               // the preview that follows typing, without its pause
    QApplication::processEvents();
    save(&window, out + QStringLiteral("/tag_page") + suffix);

    across->setValue(0);
    window.rule_tabs()->setCurrentIndex(0);
    window.findChild<QLineEdit*>(QStringLiteral("文件名前缀编辑框"))
        ->setText(QStringLiteral("IMG_"));
    window.flush_preview();  // the preview that follows typing, without its pause
    QApplication::processEvents();
    save(&window, out + QStringLiteral("/number_page") + suffix);

    window.rule_tabs()->setCurrentIndex(1);
    window.findChild<QCheckBox*>(QStringLiteral("正则表达式"))->setChecked(true);
    window.findChild<QLineEdit*>(QStringLiteral("查找内容编辑框"))
        ->setText(QStringLiteral("(\\d+)"));
    window.findChild<QLineEdit*>(QStringLiteral("替换为编辑框"))->setText(QStringLiteral("_$1"));
    window.flush_preview();  // the preview that follows typing, without its pause
    QApplication::processEvents();
    save(&window, out + QStringLiteral("/replace_page") + suffix);
    window.rule_tabs()->setCurrentIndex(0);

    // Conflict marks: a step of 0 gives every MP3 file one name, and 0.txt
    // is taken by a file outside the list.
    files.write_file("0.txt", "taken");
    window.findChild<QLineEdit*>(QStringLiteral("文件名前缀编辑框"))->clear();
    window.findChild<QWidget*>(QStringLiteral("增量编辑框"))
        ->findChild<QLineEdit*>()
        ->setText(QStringLiteral("0"));
    window.list_view()->scrollToTop();
    window.flush_preview();  // the preview that follows typing, without its pause
    QApplication::processEvents();
    save(&window, out + QStringLiteral("/conflicts") + suffix);
    save_chain_shot(window, codec, out + QStringLiteral("/chain") + suffix);
    save_columns_shot(window, out + QStringLiteral("/list_columns") + suffix);
    SettingsDialog settings(window.settings(), codec, services, [] {});
    settings.show();
    QApplication::processEvents();
    save(&settings, out + QStringLiteral("/settings") + suffix);
    return 0;
}
