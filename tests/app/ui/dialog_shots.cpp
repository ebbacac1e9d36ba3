// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the screenshots of the filter, settings, about and tag windows in
// docs/ at one font size, in Chinese or in English:
//     varnel_dialog_shots OUT_DIR POINT_SIZE [en]
// Writes filter-, settings-, about- and tag-dialog-<size>pt.png (with "-en"
// before the size in English). Runs offscreen or under xvfb-run.

#include <QApplication>
#include <QLineEdit>
#include <cstdio>
#include <string>

#include "app/settings.h"
#include "app/ui/about_dialog.h"
#include "app/ui/qt_translations.h"
#include "app/ui/settings_dialog.h"
#include "filelist/ui/file_list_model.h"
#include "filelist/ui/filter_dialog.h"
#include "id3/ui/tag_dialog.h"
#include "platform/ui/qt_ui_services.h"
#include "support/list_builder.h"
#include "support/mp3_builder.h"
#include "support/screenshot.h"
#include "support/temp_dir.h"

using namespace varnel;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 3 || argc > 4 || (argc == 4 && std::string(argv[3]) != "en")) {
        std::fprintf(stderr, "usage: varnel_dialog_shots OUT_DIR POINT_SIZE [en]\n");
        return 2;
    }
    const bool english = argc == 4;
    if (!use_language(application, english ? Language::english : Language::chinese))
        std::fprintf(stderr, "a translation is missing\n");
    const QString out = QString::fromLocal8Bit(argv[1]);
    QFont font = QApplication::font();
    font.setPointSize(std::stoi(argv[2]));
    QApplication::setFont(font);
    const QString suffix = (english ? QStringLiteral("-en-") : QStringLiteral("-")) +
                           QString::fromLatin1(argv[2]) + QStringLiteral("pt.png");

    const Codec codec;
    QtUiServices services;
    const test::TempDir files;
    files.write_file(
        "song.mp3",
        test::id3v2_tag(test::text_frame("TIT2", "Song") + test::text_frame("TPE1", "Artist") +
                        test::text_frame("TALB", "Album") + test::text_frame("TCON", "(17)Rock")) +
            test::fake_audio(200) + test::id3v1_block("Song", "Artist", "Album"));
    const std::string song = files.path() + "song.mp3";

    FileList list = test::list_of("/m", {"a.mp3"});
    FileListModel model(list, codec);
    FilterDialog filter(model, codec, services);
    test::save_shot(filter, out + QStringLiteral("/filter") + suffix);
    Settings settings;
    SettingsDialog settings_window(settings, codec, services, [] {});
    test::save_shot(settings_window, out + QStringLiteral("/settings") + suffix);
    AboutDialog about(codec, services);
    test::save_shot(about, out + QStringLiteral("/about") + suffix);
    TagDialog tag(song, song, codec, services);
    if (!tag.load()) return 1;
    test::save_shot(tag, out + QStringLiteral("/tag-dialog") + suffix);
    return 0;
}
