// SPDX-License-Identifier: GPL-3.0-or-later
// 批量编辑标签 over 2,000 MP3 files, offscreen: opening the window (every
// tag read, the preview table filled), one field typed (the table made
// anew), and 确定 (the batch written with its journal, the table showing
// each outcome). The floor, in the same run: edit_tags_of_files over the
// same files with a journal, as varnel-cli does it. Goal: 确定 within 1.5
// times the floor, and opening and typing each under a second.

#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <fstream>

#include "audio/tag_journal.h"
#include "audio/ui/batch_tag_dialog.h"
#include "bench_support.h"
#include "platform/ui/ui_services.h"
#include "quiet_desktop.h"

namespace varnel {
namespace {

constexpr int file_count = 2000;

double seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

}  // namespace
}  // namespace varnel

int main(int argc, char** argv) {
    using namespace varnel;
    QApplication application(argc, argv);
    bench::ScratchDir scratch;
    setenv("XDG_STATE_HOME", (scratch.path() + "state").c_str(), 1);
    const std::vector<std::string> paths = bench::write_tagged_mp3s(scratch.path(), file_count);
    const Codec codec;
    bench::QuietDesktop desktop;

    // The floor: the engine's batch with its journal.
    QElapsedTimer timer;
    timer.start();
    std::string reason;
    std::optional<TagJournal> journal = TagJournal::create(*tag_journal_path(), reason);
    TagEditRequest request;
    request.fields[2] = "Floor";
    (void)edit_tags_of_files(paths, request, codec, journal ? &*journal : nullptr);
    const double floor = seconds(timer);

    timer.restart();
    BatchTagDialog window(paths, TagBatchSetup{desktop, codec, V2TextEncoding::code_page, {}});
    window.show();
    QApplication::processEvents();
    const double opening = seconds(timer);

    auto* album = window.findChild<QLineEdit*>(QStringLiteral("字段编辑框3"));
    timer.restart();
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("Window"));
    QApplication::sendEvent(album, &typed);
    QApplication::processEvents();
    const double typing = seconds(timer);

    timer.restart();
    window.findChild<QPushButton*>(QStringLiteral("确定按钮"))->click();
    QApplication::processEvents();
    const double writing = seconds(timer);

    std::printf(
        "批量编辑标签, %d MP3 files: open %.3f s, one field typed %.3f s, "
        "确定 %.3f s; engine batch (floor) %.3f s, ratio %.2f\n",
        file_count, opening, typing, writing, floor, writing / floor);
    return 0;
}
