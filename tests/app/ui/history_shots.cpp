// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the screenshot of the 撤消历史 window in docs/:
//     varnel_history_shots OUT_DIR
// Writes undo-history.png: a history of rename and tag batches, one undone. Runs offscreen or under
// xvfb-run.

#include <QApplication>
#include <QTableWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/ui/qt_translations.h"
#include "app/ui/undo_history_dialog.h"
#include "audio/batch_tag_edit.h"
#include "platform/journal_folder.h"
#include "platform/ui/qt_ui_services.h"
#include "rename/batch_run.h"
#include "support/mp3_builder.h"
#include "support/screenshot.h"
#include "support/temp_dir.h"

using namespace varnel;

namespace {

// Renames `names` in `folder` with the prefix `prefix`; the journal's path.
std::string rename_batch(const std::string& folder, const std::vector<std::string>& names,
                         const std::string& prefix, const std::string& journals,
                         const Codec& codec) {
    FileList list;
    std::vector<ItemName> items;
    for (const std::string& name : names) items.push_back(ItemName{name, name});
    list.append_items(ItemFolder{codec.text_from_fs(folder), folder}, std::move(items));
    RulePages pages;
    pages.number.prefix = prefix;
    UndoLog log;
    const std::string path = new_journal_path(journals);
    (void)run_journaled_batch({path, {}}, {}, [&](const BatchHooks& hooks) {
        return rename_items(list, pages, log, codec, hooks);
    });
    return path;
}

// Sets the title of `paths` as a tag batch.
void tag_batch(const std::vector<std::string>& paths, const char* title, const Codec& codec) {
    const std::optional<std::string> path = tag_journal_path();
    std::string reason;
    std::optional<TagJournal> journal = path ? TagJournal::create(*path, reason) : std::nullopt;
    if (!journal) return;
    TagEditRequest request;
    request.fields[0] = codec.from_utf8(title).value_or("");
    (void)edit_tags_of_files(paths, request, codec, &*journal);
    (void)journal->finish();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: varnel_history_shots OUT_DIR\n");
        return 2;
    }
    (void)use_language(application, Language::chinese);
    const test::TempDir state;
    setenv("XDG_STATE_HOME", state.path().c_str(), 1);
    const Codec codec;
    const JournalFolder journals = automatic_journal_folder(true);
    if (!journals.path) return 1;
    const test::TempDir files;
    const std::string music = files.path() + "音乐/";
    std::filesystem::create_directory(music);
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        files.write_file(std::string("音乐/") + name, name);
    for (const char* name : {"1.mp3", "2.mp3"})
        files.write_file(std::string("音乐/") + name,
                         test::id3v2_tag(test::text_frame("TIT2", "Old")) + test::fake_audio(2000));
    const std::string first =
        rename_batch(music, {"a.txt", "b.txt", "c.txt"}, "photo", *journals.path, codec);
    tag_batch({music + "1.mp3", music + "2.mp3"}, "晴天", codec);
    (void)rename_batch(music, {"photo0.txt", "photo1.txt"}, "x", *journals.path, codec);
    (void)mark_journal_undone(first);
    tag_batch({music + "1.mp3"}, "七里香", codec);
    QtUiServices services;
    UndoHistoryDialog dialog(UndoHistorySetup{*journals.path, {}, codec, services, {}, {}});
    dialog.table()->selectRow(1);
    const QString out = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/undo-history.png");
    return test::save_shot(dialog, out) ? 0 : 1;
}
