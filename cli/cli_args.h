// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the command line of varnel-cli.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/codec.h"
#include "rename/rename_plan.h"
#include "rename/rule_chain.h"
#include "rename/rule_dispatch.h"

namespace varnel::cli {

enum class CommandKind {
    help,
    version,
    preview,
    rename,
    fix_names,
    undo,
    tag,
    fix_tags,
    tags_from_names,
};

// What `undo` works on: the journal named by --journal, the newest
// automatic journal not yet undone (--last), the list of the automatic
// journals (--list), the automatic journal numbered N in that list, or the
// last batch of tag edits (--tags).
enum class UndoChoice { journal, last, list, number, tags };

struct Command {
    CommandKind kind = CommandKind::help;
    RulePages pages;  // the chosen rule's options (code page)
    // preview|rename chain: the steps of --step, in order, run after those
    // of --preset (read when the command runs); `chain` is then true and
    // `pages` unused.
    bool chain = false;
    std::vector<RuleStep> steps;
    std::string preset;                         // --preset (file-system bytes), may be empty
    std::string journal;                        // --journal (file-system bytes), may be empty
    RenameOrder order = RenameOrder::in_order;  // rename --order in-order|smart
    std::vector<std::string> files;             // file paths (file-system bytes)
    std::string files_from;                     // --files-from: more paths, one a line ("-": stdin)
    bool null_data = false;                     // -0/--null: NUL-separated paths in and records out
    std::string help_topic;                     // `help`: the command asked about, empty for all
    // `tag`: FIELD=VALUE settings (value in the code page), removals.
    std::vector<std::pair<std::string, std::string>> set_v1;
    std::vector<std::pair<std::string, std::string>> set_v2;
    bool remove_v1 = false;
    bool remove_v2 = false;
    bool v2_unicode = false;          // --v2-encoding unicode (else gbk)
    bool drop_unconvertible = false;  // --drop-unconvertible
    bool add_v2_from_v1 = false;      // fix-tags --add-v2-from-v1
    bool dry_run = false;             // rename, tags-from-names -n/--dry-run, fix-tags --dry-run
    bool quiet = false;               // -q/--quiet: no per-item records
    bool no_journal = false;          // --no-journal: no automatic journal
    // `undo`: which journal: --journal FILE, --last, --list, or N.
    UndoChoice undo_choice = UndoChoice::journal;
    int undo_number = 0;  // N of `undo N`, from 1 (the newest)
};

struct ParsedCommand {
    std::optional<Command> command;  // nullopt: usage error
    std::string error;               // the reason (code page, the text language)
};

// `args` excludes the program name. Option values are UTF-8 and are
// converted to the code page. Every option has a type: a text, a whole
// number of at most a field's width of characters (optional '-', ASCII
// digits), a position (such a number or "end"), one of a few words, or a
// flag; any other value is a usage error naming the option and the value.
[[nodiscard]] ParsedCommand parse_command(std::span<const std::string> args, const Codec& codec);

// Why `value` cannot be the whole number of a field `width` characters
// wide (code page, the text language, naming `option`); empty when it can.
[[nodiscard]] std::string whole_number_error(std::string_view option, std::string_view value,
                                             std::size_t width);

// The options `kind` (preview, rename or fix-names) takes with `rule`
// (ignored for fix-names), every name of each ("-n", "--dry-run").
[[nodiscard]] std::vector<std::string> option_names(CommandKind kind, RulePage rule);

// The text of --help (code page, the text language): all of it, or the
// part about `topic` (preview, rename, fix-names, undo, tag, fix-tags).
[[nodiscard]] std::string help_text(const std::string& topic = {});

}  // namespace varnel::cli
