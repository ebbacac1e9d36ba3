// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/cli_output.h"
#include "filelist/item_names.h"
#include "platform/working_folder.h"
#include "rename/batch_texts.h"
#include "rename/fix_names.h"
#include "rename/preview.h"
#include "rename/renamer.h"
#include "rename/undo_journal.h"

namespace varnel::cli {

namespace {

// Reads the paths of a --files-from list: one a line, or NUL-ended with
// -0; empty entries are skipped. False when the list cannot be read.
bool read_path_list(const Command& command, std::vector<std::string>& paths) {
    std::ifstream file;
    if (command.files_from != "-") {
        file.open(command.files_from, std::ios::binary);
        if (!file) return false;
    }
    std::istream& in = command.files_from == "-" ? std::cin : file;
    const char end = command.null_data ? '\0' : '\n';
    for (std::string path; std::getline(in, path, end);)
        if (!path.empty()) paths.push_back(std::move(path));
    return !in.bad();
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
    if (!command.files_from.empty() && !read_path_list(command, paths)) {
        err << "varnel-cli: cannot read the list " << command.files_from << '\n';
        return false;
    }
    if (paths.empty()) {
        err << "varnel-cli: no FILE given\n";
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

// The tag rule prints its status as a further field.
void add_tag_status(const Command& command, const FileList& list, int row,
                    std::vector<std::string>& fields) {
    const std::string_view status = list.get_cell(row, Column::tag_status);
    if (command.pages.active == RulePage::tags && (command.null_data || !status.empty()))
        fields.emplace_back(status);
}

void print_summary(const Command& command, const std::string& summary, const Codec& codec,
                   std::ostream& out, std::ostream& err) {
    (command.null_data ? err : out) << for_terminal(summary, codec) << '\n';
}

}  // namespace

int run_preview(const Command& command, const Codec& codec, std::ostream& out) {
    std::vector<std::string> paths;
    if (!command_paths(command, paths, std::cerr)) return 2;
    FileList list = list_of_files(paths, codec);
    std::string error;
    std::vector<NameFault> faults;
    dispatch_rule(list, command.pages, list.item_count(), codec, &error, &faults);
    {
        RecordPrinter printer(out, codec, command.null_data, is_terminal_stream(out));
        for (int row = 0; row < list.item_count(); ++row) {
            const auto r = static_cast<std::size_t>(row);
            std::vector<std::string> fields{list.old_names()[r], list.new_names()[r]};
            add_tag_status(command, list, row, fields);
            // A name the rule could not compute: why, as a further field.
            if (!faults.empty() && faults[r] != NameFault::none)
                fields.push_back(name_fault_text(faults[r]));
            printer.print(fields);
        }
    }
    if (!error.empty()) std::cerr << "varnel-cli: " << for_terminal(error, codec) << '\n';
    return faults.empty() ? 0 : 1;
}

int run_rename(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err) {
    std::vector<std::string> paths;
    if (!command_paths(command, paths, err)) return 2;
    if (has_empty_name(paths)) {
        err << "varnel-cli: a FILE must name a file, not a folder\n";
        return 2;
    }
    if (!command.journal.empty() && names_a_file(paths, command.journal)) {
        err << "varnel-cli: the journal " << command.journal << " is one of the files\n";
        return 2;
    }
    std::optional<UndoJournalWriter> journal;
    if (!command.journal.empty()) {
        std::string reason;
        bool busy = false;
        journal = UndoJournalWriter::create(command.journal, reason, &busy);
        if (!journal) {
            err << "varnel-cli: "
                << (busy ? for_terminal(texts::another_batch_running(), codec) + ": " : "")
                << reason << '\n';
            return 2;
        }
    }
    FileList list = list_of_files(paths, codec);
    paths = {};
    const std::vector<std::string> before(list.old_names().begin(), list.old_names().end());
    BatchHooks hooks;
    hooks.order = command.order;
    hooks.keep_undo_log = false;  // the journal is the record
    if (journal) {
        hooks.before_renames = [&](std::span<const UndoEntry> entries) {
            return journal->record(entries);
        };
        hooks.rename_failed = [&](std::size_t index) { journal->failed(index); };
        hooks.before_claim = [&](std::size_t index, const std::string& name) {
            return journal->reserve(index, name);
        };
    }
    std::optional<RecordPrinter> printer(std::in_place, out, codec, command.null_data,
                                         is_terminal_stream(out), progress_flush_every);
    hooks.item_done = [&](int row) {
        const auto r = static_cast<std::size_t>(row);
        std::vector<std::string> fields{
            status_field(list.get_cell(row, Column::rename_status), list.status_reason(row)),
            before[r], list.new_names()[r]};
        add_tag_status(command, list, row, fields);
        printer->print(fields);
    };
    UndoLog log;
    BatchOutcome outcome;
    if (command.kind == CommandKind::fix_names) {
        std::vector<int> rows(static_cast<std::size_t>(list.item_count()));
        std::iota(rows.begin(), rows.end(), 0);
        outcome = respell_names_in_utf8(list, rows, log, codec, hooks);
    } else {
        outcome = rename_items(list, command.pages, log, codec, hooks);
    }
    printer.reset();  // the records before the summary
    print_summary(command, outcome.summary, codec, out, err);
    if (journal && journal->finish() != 0) {
        err << "varnel-cli: cannot finish the journal " << command.journal << '\n';
        return 1;
    }
    return outcome.all_succeeded() ? 0 : 1;
}

int run_undo(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err) {
    // Held until the undo ends: no batch or other undo starts on it meanwhile.
    const ClaimedJournal claimed = claim_undo_journal(command.journal);
    if (claimed.state == JournalState::busy) {
        err << "varnel-cli: " << for_terminal(texts::another_batch_running(), codec) << ": "
            << claimed.reason << '\n';
        return 2;
    }
    if (claimed.state == JournalState::none || claimed.state == JournalState::refused) {
        err << "varnel-cli: " << (claimed.reason.empty() ? claimed.held.reason() : claimed.reason)
            << '\n';
        return 2;
    }
    std::optional<RecordPrinter> printer(std::in_place, out, codec, command.null_data,
                                         is_terminal_stream(out), progress_flush_every);
    const auto each = [&](const UndoEntry& entry, bool undone, const std::string& reason) {
        const std::string_view status = undone ? texts::undo_succeeded() : texts::undo_failed();
        printer->print({status_field(status, reason), entry.new_name, entry.name});
    };
    const BatchOutcome outcome =
        undo_entries(claimed.contents.entries, codec, each, {}, claimed.contents.reservations);
    printer.reset();  // the records before the summary
    print_summary(command, outcome.summary, codec, out, err);
    return outcome.all_succeeded() ? 0 : 1;
}

}  // namespace varnel::cli
