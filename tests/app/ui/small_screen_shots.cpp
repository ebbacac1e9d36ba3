// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the small-screen screenshots of docs/: the main window, the tag
// dialog, the 标签转为Unicode window and the settings window as they open
// on an 800x600 screen at 144 dpi, and prints each one's minimum and first
// size in device pixels. Run under a real X server of that size:
//     QT_FONT_DPI=144 xvfb-run -s "-screen 0 800x600x24" varnel_small_screen_shots OUT_DIR

#include <QApplication>
#include <QScreen>
#include <cmath>
#include <cstdio>
#include <memory>

#include "app/ui/main_window.h"
#include "app/ui/settings_dialog.h"
#include "id3/ui/tag_dialog.h"
#include "id3/ui/tag_fix_dialog.h"
#include "platform/ui/qt_ui_services.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

using namespace varnel;

namespace {

QString device_size(const QSize& size, double ratio) {
    return QStringLiteral("%1x%2")
        .arg(std::ceil(size.width() * ratio))
        .arg(std::ceil(size.height() * ratio));
}

void shoot(QWidget& window, const QString& path) {
    window.show();
    QApplication::processEvents();
    const double ratio = window.devicePixelRatioF();
    std::printf("%s: minimum %s, opens at %s\n", qPrintable(path),
                qPrintable(device_size(window.minimumSize(), ratio)),
                qPrintable(device_size(window.size(), ratio)));
    if (!window.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    window.close();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: varnel_small_screen_shots OUT_DIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/small-screen-");
    const test::TempDir config;
    const test::TempDir files;
    // A GBK title and artist: 你好 / 歌手.
    files.write_file(
        "\xC4\xE3\xBA\xC3.mp3",
        test::fake_audio(64) + test::id3v1_block("\xC4\xE3\xBA\xC3", "\xB8\xE8\xCA\xD6"));
    files.write_file("track2.mp3", test::id3v2_tag(test::text_frame("TPE1", "\xB8\xE8\xCA\xD6") +
                                                   test::text_frame("TIT2", "\xC4\xE3\xBA\xC3")) +
                                       test::fake_audio(64));
    const std::string song = files.path() + "\xC4\xE3\xBA\xC3.mp3";
    const std::string other = files.path() + "track2.mp3";
    const Codec codec;
    QtUiServices services;

    MainWindow window(
        MainWindowSetup{codec, services, config.path() + "config.ini", config.path() + "dir.txt"});
    window.add_folder_at(files.path());
    shoot(window, out + QStringLiteral("main-window.png"));

    TagDialog tags(song, codec.text_from_fs(song), codec, services);
    if (tags.load()) shoot(tags, out + QStringLiteral("tag-dialog.png"));

    TagFixDialog fix({song, other}, services, codec, true);
    shoot(fix, out + QStringLiteral("tag-fix.png"));

    SettingsDialog settings(window.settings(), codec, services, [] {});
    shoot(settings, out + QStringLiteral("settings.png"));
    return 0;
}
