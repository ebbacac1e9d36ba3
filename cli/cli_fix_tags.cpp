// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli fix-tags: 标签转为Unicode for the files of the command line.

#include <optional>
#include <string>
#include <vector>

#include "audio/tag_fix_journal.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "id3/safe_rewrite.h"
#include "id3/tag_fix.h"
#include "id3/tag_fix_texts.h"
#include "platform/error_text.h"
#include "platform/language.h"
#include "platform/tag_file_io.h"

namespace varnel::cli {

namespace {

// "将转换 N 个文件，无需转换 M 个文件，转换失败 K 个文件" (已转换 once written).
std::string summary(bool written, int changed, int unchanged, int failed) {
    const auto count = [](int n) {
        return ' ' + std::to_string(n) + ' ' + std::string(texts::files_word());
    };
    return std::string(written ? texts::converted() : texts::will_convert()) + count(changed) +
           std::string(texts::separator()) + std::string(texts::nothing_to_convert()) +
           count(unchanged) + std::string(texts::separator()) + std::string(texts::fix_failed()) +
           count(failed);
}

}  // namespace

int run_fix_tags(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err) {
    std::vector<std::string> paths;
    if (!command_paths(command, paths, err)) return 2;
    const bool write = !command.dry_run;
    // Every file's old tag goes into the journal before its write, so that
    // undo --tags puts them back; --no-journal writes without one.
    std::optional<TagJournal> journal;
    if (write && !command.no_journal &&
        !(journal = new_tag_journal(err, say("（用 --no-journal 可以不做记录而修改标签）",
                                             " (--no-journal changes the tags without one)"))))
        return 2;
    std::optional<TagFixJournal> recorder;
    if (journal) recorder.emplace(*journal);
    int changed = 0;
    int unchanged = 0;
    int failed = 0;
    std::optional<RecordPrinter> printer(std::in_place, out, codec, command.null_data,
                                         is_terminal_stream(out), progress_flush_every);
    for (const std::string& path : paths) {
        const TagFileFix fix = fix_tag_file(path, codec, command.add_v2_from_v1, write,
                                            recorder ? &*recorder : nullptr);
        // A dry run only reads: an interrupted edit is told and left.
        if (std::optional<ByteFile> file =
                write ? std::optional<ByteFile>() : open_regular_file(path, false);
            file && has_unfinished_edit(*file))
            report_unfinished_edit(path, err);
        const std::string status = tag_fix_status(fix, write);
        const std::string file = codec.text_from_fs(path);
        const TagFixPlan& plan = fix.outcome.plan;
        const bool ok = fix.outcome.result.ok && fix.reason.empty();
        failed += ok ? 0 : 1;
        if (!ok || plan.action == TagFixAction::none) {
            unchanged += ok ? 1 : 0;
            printer->print({status, file, {}, {}, {}, {}});
            continue;
        }
        ++changed;
        const std::string_view change =
            plan.action == TagFixAction::convert ? texts::encoding_change() : texts::v1_to_v2();
        for (const TagTextChange& text : plan.changes)
            printer->print(
                {status, file, text.field, text.before, text.after, std::string(change)});
    }
    printer.reset();  // the records before the summary
    if (journal) {
        // The end line, so the batch is not taken for one that died; undo
        // knows a file whose state after the write is missing by its audio.
        Status ended = journal->finish();
        if (ended) ended = recorder->after_write_status();
        if (!ended)
            tell(err, say("撤消记录未能记下写入后的状态：",
                          "the undo journal could not note the "
                          "state after the writes: ") +
                          system_error_text(ended.error().number));
    }
    (command.null_data ? err : out)
        << for_terminal(summary(write, changed, unchanged, failed), codec) << '\n';
    return failed == 0 ? 0 : 1;
}

}  // namespace varnel::cli
