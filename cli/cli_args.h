// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the command line of varnel-cli.

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/codec.h"
#include "rename/rename_plan.h"
#include "rename/rule_dispatch.h"

namespace varnel::cli {

enum class CommandKind { help, version, preview, rename, fix_names, undo, tag, fix_tags };

struct Command {
    CommandKind kind = CommandKind::help;
    RulePages pages;                 // the chosen rule's options (code page)
    std::string journal;             // --journal (file-system bytes), may be empty
    RenameOrder order = RenameOrder::in_order;  // rename --order in-order|smart
    std::vector<std::string> files;  // file paths (file-system bytes)
    std::string files_from;          // --files-from: more paths, one a line ("-": stdin)
    bool null_data = false;          // -0/--null: NUL-separated paths in and records out
    std::string help_topic;          // `help`: the command asked about, empty for all
    // `tag`: FIELD=VALUE settings (value in the code page), removals.
    std::vector<std::pair<std::string, std::string>> set_v1;
    std::vector<std::pair<std::string, std::string>> set_v2;
    bool remove_v1 = false;
    bool remove_v2 = false;
    bool v2_unicode = false;          // --v2-encoding unicode (else gbk)
    bool drop_unconvertible = false;  // --drop-unconvertible
    bool add_v2_from_v1 = false;      // fix-tags --add-v2-from-v1
    bool dry_run = false;             // fix-tags --dry-run
};

struct ParsedCommand {
    std::optional<Command> command;  // nullopt: usage error
    std::string error;               // the reason, UTF-8
};

// `args` excludes the program name. Option values are UTF-8 and are
// converted to the code page.
ParsedCommand parse_command(std::span<const std::string> args, const Codec& codec);

// The text of --help (UTF-8): all of it, or the part about `topic`
// (preview, rename, fix-names, undo, tag, fix-tags).
std::string help_text(const std::string& topic = {});

}  // namespace varnel::cli
