// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the screenshots of 文件名转为标签 and 批量编辑标签 in docs/, in Chinese
// or in English:
//     varnel_tag_batch_shots OUT_DIR [en]
// Writes tags-from-names.png and batch-tag-edit.png (with "-en" before
// ".png" in English). Runs offscreen or under xvfb-run.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/ui/qt_translations.h"
#include "audio/ui/batch_tag_dialog.h"
#include "audio/ui/tags_from_names_dialog.h"
#include "platform/ui/qt_ui_services.h"
#include "support/mp3_builder.h"
#include "support/screenshot.h"
#include "support/temp_dir.h"

using namespace varnel;

namespace {

// Field `number` (1..12) of 批量编辑标签 checked and given `text`.
void set_field(QWidget& window, int number, const QString& text) {
    window.findChild<QCheckBox*>(QStringLiteral("字段选择框%1").arg(number))->setChecked(true);
    window.findChild<QLineEdit*>(QStringLiteral("字段编辑框%1").arg(number))->setText(text);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2 || argc > 3 || (argc == 3 && std::string(argv[2]) != "en")) {
        std::fprintf(stderr, "usage: varnel_tag_batch_shots OUT_DIR [en]\n");
        return 2;
    }
    const bool english = argc == 3;
    if (!use_language(application, english ? Language::english : Language::chinese))
        std::fprintf(stderr, "a translation is missing\n");
    const QString out = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const QString suffix = english ? QStringLiteral("-en.png") : QStringLiteral(".png");

    const Codec codec;
    QtUiServices services;
    const test::TempDir files;
    const test::TempDir state;  // nothing is written; the journal's folder is never this user's
    setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    const struct {
        const char* name;
        const char* title;
    } songs[] = {{"周杰伦 - 七里香.mp3", "Track 01"},
                 {"孙燕姿 - 遇见.mp3", "Track 02"},
                 {"Beyond - 海阔天空.mp3", "Track 03"},
                 {"未命名的歌.mp3", "Track 04"}};
    std::vector<std::string> paths;
    for (const auto& song : songs) {
        files.write_file(song.name, test::id3v2_tag(test::text_frame("TIT2", song.title) +
                                                    test::text_frame("TALB", "Demo")) +
                                        test::fake_audio(200));
        paths.push_back(files.path() + song.name);
    }
    TagBatchSetup setup{services, codec, V2TextEncoding::unicode, {}};
    TagsFromNamesDialog names(paths, setup, "#1 - #2");
    test::save_shot(names, out + QStringLiteral("tags-from-names") + suffix);

    paths.pop_back();
    BatchTagDialog batch(paths, setup);
    set_field(batch, 3, QStringLiteral("精选集"));
    set_field(batch, 5, QStringLiteral("2004"));
    set_field(batch, 8, QStringLiteral("周杰伦"));
    test::save_shot(batch, out + QStringLiteral("batch-tag-edit") + suffix);
    return 0;
}
