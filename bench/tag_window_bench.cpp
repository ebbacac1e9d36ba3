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

std::string text_frame(std::string_view id, std::string_view text) {
    const std::size_t size = text.size() + 1;
    std::string frame(id);
    for (int shift = 24; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
    return frame + std::string(3, '\0') + std::string(text);
}

// 2,000 MP3 files: an ID3v2.3 tag (title, artist, 1 KiB padding) before
// 200 KiB of audio bytes.
std::vector<std::string> make_files(const std::string& folder) {
    const std::string frames = text_frame("TIT2", "Song") + text_frame("TPE1", "Artist");
    const std::size_t size = frames.size() + 1024;
    std::string tag = std::string("ID3\x03\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7) tag += static_cast<char>((size >> shift) & 0x7F);
    const std::string file = tag + frames + std::string(1024, '\0') + std::string(200 * 1024, 'U');
    std::vector<std::string> paths;
    for (int i = 0; i < file_count; ++i) {
        paths.push_back(folder + "s" + std::to_string(i) + ".mp3");
        std::ofstream(paths.back(), std::ios::binary) << file;
    }
    return paths;
}

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
    const std::vector<std::string> paths = make_files(scratch.path());
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
