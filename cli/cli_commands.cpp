// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numeric>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "audio/tag_journal.h"
#include "cli/cli_output.h"
#include "filelist/item_names.h"
#include "platform/error_text.h"
#include "platform/folder_listing.h"
#include "platform/journal_file.h"
#include "platform/journal_folder.h"
#include "platform/journal_store.h"
#include "platform/language.h"
#include "platform/working_folder.h"
#include "rename/batch_history.h"
#include "rename/batch_run.h"
#include "rename/batch_texts.h"
#include "rename/fix_names.h"
#include "rename/preset.h"
#include "rename/preview.h"
#include "rename/renamer.h"
#include "rename/target_name.h"
#include "rename/undo_journal.h"

namespace varnel::cli {

namespace {

// Reads the paths of a --files-from list: one a line, or NUL-ended with
// -0; empty entries are skipped. 0, or the errno value of why the list
// cannot be read.
int read_path_list(const Command& command, std::vector<std::string>& paths) {
    std::ifstream file;
    if (command.files_from != "-") {
        if (is_folder(command.files_from)) return EISDIR;
        errno = 0;
        file.open(command.files_from, std::ios::binary);
        if (!file) return errno != 0 ? errno : EIO;
    }
    std::istream& in = command.files_from == "-" ? std::cin : file;
    const char end = command.null_data ? '\0' : '\n';
    for (std::string path; std::getline(in, path, end);)
        if (!path.empty()) paths.push_back(std::move(path));
    return in.bad() ? EIO : 0;
}

// The list of the command's files: each path's folder is its item folder
// (made absolute) and its last component the old name; paths of one folder
// that follow each other are added together, and every folder's item
// folder is converted once however the folders alternate.
FileList list_of_files(const std::vector<std::string>& paths, const Codec& codec) {
    FileList list;
    const std::string cwd = working_folder();
    std::unordered_map<std::string, ItemFolder> folders;
    std::string folder;
    std::vector<std::string> names;
    const auto flush = [&] {
        if (names.empty()) return;
        auto [slot, added] = folders.try_emplace(folder);
        if (added) slot->second = item_folder_from_fs(folder, codec);
        list.append_items(slot->second, item_names_from_fs(std::move(names), codec));
        names.clear();
    };
    for (const std::string& path : paths) {
        const std::size_t slash = path.rfind('/');
        std::string this_folder;
        if (!path.starts_with('/')) this_folder = cwd == "/" ? "/" : cwd + "/";
        if (slash != std::string::npos) this_folder.append(path, 0, slash + 1);
        if (this_folder != folder) flush();
        folder = std::move(this_folder);
        names.push_back(slash == std::string::npos ? path : path.substr(slash + 1));
    }
    flush();
    return list;
}

bool has_empty_name(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        if (path.empty() || path.back() == '/') return true;
    return false;
}

// The absolute form of `path`, "." and ".." resolved as written, for
// comparing paths.
std::string absolute(const std::string& path, const std::string& cwd) {
    const std::filesystem::path whole = path.starts_with('/') ? path : cwd + "/" + path;
    return whole.lexically_normal().string();
}

// True when one of `paths` is `journal` itself, as written (an empty file
// named as the journal would otherwise be replaced by it).
bool names_a_file(const std::vector<std::string>& paths, const std::string& journal) {
    const std::string cwd = working_folder();
    const std::string target = absolute(journal, cwd);
    for (const std::string& path : paths)
        if (absolute(path, cwd) == target) return true;
    return false;
}

}  // namespace

bool command_paths(const Command& command, std::vector<std::string>& paths, std::ostream& err) {
    paths = command.files;
    if (!command.files_from.empty()) {
        if (const int error = read_path_list(command, paths); error != 0) {
            tell(err, say("无法读取文件列表 ", "cannot read the list ") +
                          message_codec().text_from_fs(command.files_from) + " (" +
                          message_codec().from_utf8_lossy(system_error_text(error)) + ")");
            return false;
        }
    }
    if (paths.empty()) {
        tell(err, say("没有给出文件", "no FILE given"));
        return false;
    }
    return true;
}

namespace {

// The status field of a row: its status text, with the reason of a failure.
std::string status_field(std::string_view status, const std::string& reason) {
    std::string field(status);
    if (!reason.empty()) field += " (" + reason + ")";
    return field;
}

// The steps of a chain command: those of its preset, then those of its
// --step options. False, with the reason on `err`, when the preset cannot
// be read or a step cannot run.
bool chain_steps(const Command& command, const Codec& codec, std::vector<RuleStep>& steps,
                 std::ostream& err) {
    steps.clear();
    if (!command.preset.empty()) {
        PresetRead read = read_preset_file(command.preset);
        if (!read.error.empty()) {
            tell(err, say("无法使用预设 ", "cannot use the preset ") +
                          codec.text_from_fs(command.preset) + ": " + read.error);
            return false;
        }
        steps = std::move(read.preset.steps);
    }
    steps.insert(steps.end(), command.steps.begin(), command.steps.end());
    if (std::string error = chain_input_error(steps, codec); !error.empty()) {
        tell(err, error);
        return false;
    }
    return true;
}

// True when the command names items from their tags (its rule, or an
// enabled step of its chain, is the tag rule).
bool uses_tag_rule(const Command& command, std::span<const RuleStep> steps) {
    if (!command.chain) return command.pages.active == RulePage::tags;
    return std::ranges::any_of(steps, [](const RuleStep& step) {
        return step.enabled && step.rule.active == RulePage::tags;
    });
}

// The tag rule prints its status as a further field.
void add_tag_status(bool tag_rule, const Command& command, const FileList& list, int row,
                    std::vector<RecordField>& fields) {
    const std::string_view status = list.get_cell(row, Column::tag_status);
    if (tag_rule && (command.null_data || !status.empty()))
        fields.emplace_back(std::string(status));
}

void print_summary(const Command& command, const std::string& summary, const Codec& codec,
                   std::ostream& out, std::ostream& err) {
    (command.null_data ? err : out) << for_terminal(summary, codec) << '\n';
}

}  // namespace

namespace {

// The fields of a preview row: old and new name (with -0 their file-system
// bytes: as listed, and as the rename would write them).
std::vector<RecordField> preview_fields(const FileList& list, int row, const Codec& codec) {
    const std::string& new_name = list.new_names()[static_cast<std::size_t>(row)];
    std::string new_fs =
        target_fs_name(list, row, new_name, codec).value_or(codec.to_utf8_lossy(new_name));
    return {RecordField::name(list.old_names()[static_cast<std::size_t>(row)], list.fs_name(row)),
            RecordField::name(new_name, std::move(new_fs))};
}

}  // namespace

int run_preview(const Command& command, const Codec& codec, std::ostream& out) {
    std::vector<std::string> paths;
    if (!command_paths(command, paths, std::cerr)) return 2;
    std::vector<RuleStep> steps;
    if (command.chain && !chain_steps(command, codec, steps, std::cerr)) return 2;
    const bool tag_rule = uses_tag_rule(command, steps);
    FileList list = list_of_files(paths, codec);
    std::string error;
    std::vector<NameFault> faults;
    if (command.chain)
        dispatch_chain(list, steps, list.item_count(), codec, &error, &faults);
    else
        dispatch_rule(list, command.pages, list.item_count(), codec, &error, &faults);
    {
        RecordPrinter printer(out, codec, command.null_data, is_terminal_stream(out));
        for (int row = 0; row < list.item_count(); ++row) {
            const auto r = static_cast<std::size_t>(row);
            std::vector<RecordField> fields = preview_fields(list, row, codec);
            add_tag_status(tag_rule, command, list, row, fields);
            // A name the rule could not compute: why, as a further field.
            if (!faults.empty() && faults[r] != NameFault::none)
                fields.emplace_back(name_fault_text(faults[r]));
            printer.print(fields);
        }
    }
    if (!error.empty()) tell(std::cerr, error);
    return faults.empty() ? 0 : 1;
}

namespace {

// Where a batch keeps its journal: the one --journal names, or a new
// automatic one (`automatic_folder` set), or none with --no-journal.
// nullopt with a message on `err` when the automatic journal's folder
// cannot be used.
std::optional<std::string> batch_journal_path(const Command& command, std::string& automatic_folder,
                                              std::ostream& err) {
    if (!command.journal.empty() || command.no_journal) return command.journal;
    const JournalFolder folder = automatic_journal_folder(true);
    if (!folder.path) {
        tell(err, say("无法建立撤消记录：", "cannot make the undo journal: ") +
                      message_codec().from_utf8_lossy(folder.reason) +
                      say("（用 --no-journal 可以不做记录而更名）",
                          " (--no-journal renames without one)"));
        return std::nullopt;
    }
    automatic_folder = *folder.path;
    return new_journal_path(automatic_folder);
}

// The fields of a rename row once it is done: status, the name before and
// the new name (with -0 their file-system bytes).
std::vector<RecordField> renamed_fields(const FileList& list, int row, const std::string& before,
                                        const std::string& before_fs, const Codec& codec) {
    const std::string& new_name = list.new_names()[static_cast<std::size_t>(row)];
    const bool renamed = list.status_image(row) == StatusImage::success;
    std::string new_fs =
        renamed
            ? list.fs_name(row)
            : target_fs_name(list, row, new_name, codec).value_or(codec.to_utf8_lossy(new_name));
    return {status_field(list.get_cell(row, Column::rename_status), list.status_reason(row)),
            RecordField::name(before, before_fs), RecordField::name(new_name, std::move(new_fs))};
}

}  // namespace

int run_rename(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err) {
    if (command.dry_run) return run_preview(command, codec, out);
    std::vector<std::string> paths;
    if (!command_paths(command, paths, err)) return 2;
    if (has_empty_name(paths)) {
        tell(err, say("文件参数必须是文件，不能是文件夹", "a FILE must name a file, not a folder"));
        return 2;
    }
    if (!command.journal.empty() && names_a_file(paths, command.journal)) {
        tell(err, say("撤消记录 ", "the journal ") + codec.text_from_fs(command.journal) +
                      say(" 是要更名的文件之一", " is one of the files"));
        return 2;
    }
    std::vector<RuleStep> steps;
    if (command.chain && !chain_steps(command, codec, steps, err)) return 2;
    const bool tag_rule = uses_tag_rule(command, steps);
    std::string automatic_folder;
    const std::optional<std::string> journal_path =
        batch_journal_path(command, automatic_folder, err);
    if (!journal_path) return 2;
    FileList list = list_of_files(paths, codec);
    paths = {};
    const std::vector<std::string> before(list.old_names().begin(), list.old_names().end());
    std::vector<std::string> before_fs;
    before_fs.reserve(before.size());
    for (int row = 0; row < list.item_count(); ++row) before_fs.push_back(list.fs_name(row));
    BatchHooks hooks;
    hooks.order = command.order;
    hooks.keep_undo_log = false;  // the journal is the record
    std::optional<RecordPrinter> printer(std::in_place, out, codec, command.null_data,
                                         is_terminal_stream(out), progress_flush_every);
    hooks.item_done = [&](int row) {
        if (command.quiet && list.status_image(row) != StatusImage::failure) return;
        const auto r = static_cast<std::size_t>(row);
        std::vector<RecordField> fields = renamed_fields(list, row, before[r], before_fs[r], codec);
        add_tag_status(tag_rule, command, list, row, fields);
        printer->print(fields);
    };
    UndoLog log;
    const BatchRun run = run_journaled_batch({*journal_path, {}}, hooks, [&](const BatchHooks& h) {
        if (command.chain) return rename_items(list, steps, log, codec, h);
        if (command.kind != CommandKind::fix_names)
            return rename_items(list, command.pages, log, codec, h);
        std::vector<int> rows(static_cast<std::size_t>(list.item_count()));
        std::iota(rows.begin(), rows.end(), 0);
        return respell_names_in_utf8(list, rows, log, codec, h);
    });
    if (!run.ran) {
        const std::string reason = codec.from_utf8_lossy(run.journal_error);
        tell(err, run.journal_busy ? texts::another_batch_running() + ": " + reason : reason);
        return 2;
    }
    printer.reset();  // the records before the summary
    print_summary(command, run.outcome.summary, codec, out, err);
    if (!automatic_folder.empty()) {
        // A batch that renamed nothing leaves no journal to undo.
        if (run.journal_entries == 0)
            (void)remove_file(*journal_path);
        else
            prune_journals(automatic_folder);
    }
    if (run.finish_error != 0) {
        tell(err, say("无法完成撤消记录 ", "cannot finish the journal ") +
                      codec.text_from_fs(*journal_path) + " (" +
                      codec.from_utf8_lossy(system_error_text(run.finish_error)) + ")");
        return 1;
    }
    return run.outcome.all_succeeded() ? 0 : 1;
}

namespace {

// Undoes the batch of the journal at `path` (--journal).
int undo_journal(const Command& command, const std::string& path, const Codec& codec,
                 std::ostream& out, std::ostream& err) {
    // Held until the undo ends: no batch or other undo starts on it meanwhile.
    const ClaimedJournal claimed = claim_undo_journal(path);
    if (claimed.state == JournalState::busy) {
        tell(err, texts::another_batch_running() + ": " + codec.from_utf8_lossy(claimed.reason));
        return 2;
    }
    if (claimed.state == JournalState::none || claimed.state == JournalState::refused) {
        tell(err, codec.from_utf8_lossy(claimed.reason.empty() ? claimed.held.reason()
                                                               : claimed.reason));
        return 2;
    }
    std::optional<RecordPrinter> printer(std::in_place, out, codec, command.null_data,
                                         is_terminal_stream(out), progress_flush_every);
    const auto each = [&](const UndoEntry& entry, bool undone, const std::string& reason) {
        const std::string_view status = undone ? texts::undo_succeeded() : texts::undo_failed();
        printer->print({status_field(status, reason),
                        RecordField::name(entry.new_name, entry.renamed_fs_name),
                        RecordField::name(entry.name, entry.fs_name)});
    };
    const BatchOutcome outcome =
        undo_entries(claimed.contents.entries, codec, each, {}, claimed.contents.reservations);
    printer.reset();  // the records before the summary
    print_summary(command, outcome.summary, codec, out, err);
    return outcome.all_succeeded() ? 0 : 1;
}

// The words of undo --list (data, the same in every language).
std::string_view state_word(HistoryState state) {
    switch (state) {
        case HistoryState::undoable:
            return "finished";
        case HistoryState::undone:
            return "undone";
        case HistoryState::interrupted:
            return "interrupted";
        case HistoryState::running:
            return "busy";
        case HistoryState::refused:
            break;
    }
    return "refused";
}

std::string_view kind_word(JournalKind kind) {
    return kind == JournalKind::tags ? "tags" : "rename";
}

int list_history(const std::vector<HistoryBatch>& history, const Codec& codec, std::ostream& out) {
    int number = 0;
    for (const HistoryBatch& batch : history)
        out << ++number << '\t' << stamp_time(batch.stamp) << '\t' << kind_word(batch.kind) << '\t'
            << state_word(batch.state) << '\t' << batch.files << '\t'
            << escaped(codec.text_from_fs(batch.path), codec) << '\n';
    return 0;
}

// Undoes one batch of the history, a record for every file.
int undo_history_batch(const Command& command, const HistoryBatch& batch, const Codec& codec,
                       std::ostream& out, std::ostream& err) {
    std::optional<RecordPrinter> printer(std::in_place, out, codec, command.null_data,
                                         is_terminal_stream(out), progress_flush_every);
    HistoryHooks hooks;
    hooks.renamed_back = [&](const UndoEntry& entry, bool undone, const std::string& reason) {
        const std::string_view status = undone ? texts::undo_succeeded() : texts::undo_failed();
        printer->print({status_field(status, reason),
                        RecordField::name(entry.new_name, entry.renamed_fs_name),
                        RecordField::name(entry.name, entry.fs_name)});
    };
    hooks.tag_back = [&](const TagUndoOutcome& outcome) {
        // A file that holds its old tag already counts as undone.
        const bool back = outcome.reason.empty();
        printer->print(
            {status_field(back ? texts::undo_succeeded() : texts::undo_failed(), outcome.reason),
             RecordField::name(codec.text_from_fs(outcome.path), outcome.path)});
    };
    const BatchUndo undo = undo_batch(batch, codec, hooks);
    if (!undo.refused.empty()) {
        printer.reset();
        tell(err, undo.refused);
        return 2;
    }
    printer.reset();  // the records before the summary
    print_summary(command, undo.outcome.summary, codec, out, err);
    if (went_well(undo.outcome) && !undo.undone)
        tell(err, say("无法把撤消记录标为已撤消：", "cannot mark the journal undone: ") +
                      codec.text_from_fs(batch.path));
    return undo.outcome.all_succeeded() ? 0 : 1;
}

// The batch `undo` works on: N, the newest not undone, or the newest tag
// batch not undone; nullptr when there is none.
const HistoryBatch* chosen_batch(const Command& command, const std::vector<HistoryBatch>& history) {
    if (command.undo_choice == UndoChoice::number) {
        const auto n = static_cast<std::size_t>(command.undo_number);
        return n <= history.size() ? &history[n - 1] : nullptr;
    }
    for (const HistoryBatch& batch : history)
        if (batch.state != HistoryState::undone &&
            (command.undo_choice != UndoChoice::tags || batch.kind == JournalKind::tags))
            return &batch;
    return nullptr;
}

}  // namespace

int run_undo(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err) {
    if (command.undo_choice == UndoChoice::journal)
        return undo_journal(command, command.journal, codec, out, err);
    const JournalFolder folder = automatic_journal_folder(false);
    if (!folder.path && !folder.reason.empty()) {
        tell(err, codec.from_utf8_lossy(folder.reason));
        return 2;
    }
    const std::vector<HistoryBatch> history =
        batch_history(folder.path.value_or(""), old_tag_journal_path().value_or(""), codec);
    if (command.undo_choice == UndoChoice::list) return list_history(history, codec, out);
    const HistoryBatch* chosen = chosen_batch(command, history);
    if (chosen == nullptr) {
        tell(err, command.undo_choice == UndoChoice::number
                      ? say("没有这个编号的撤消记录（见 undo --list）",
                            "no journal has that number (see undo --list)")
                  : command.undo_choice == UndoChoice::tags
                      ? say("没有可以撤消的标签修改", "no tag edit is left to undo")
                      : say("没有尚未撤消的批量更名", "no batch is left to undo"));
        return 2;
    }
    return undo_history_batch(command, *chosen, codec, out, err);
}

}  // namespace varnel::cli
