// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_args.h"

#include <functional>
#include <map>
#include <set>
#include <string_view>

#include "rename/regex_replace.h"
#include "rename/tag_template.h"

namespace varnel::cli {

namespace {

const char* const usage_help =
    R"TEXT(varnel-cli: batch renaming from the command line.

Usage:
  varnel-cli preview RULE [OPTIONS] [-0] [--files-from LIST] [--] FILE...
  varnel-cli rename  RULE [OPTIONS] [-0] [--files-from LIST] [--journal JFILE]
                     [--order in-order|smart] [--] FILE...
  varnel-cli fix-names [-0] [--files-from LIST] [--journal JFILE] [--] FILE...
  varnel-cli undo --journal JFILE [-0]
  varnel-cli tag FILE [...]
  varnel-cli fix-tags [--add-v2-from-v1] [--dry-run] [-0] [--files-from LIST]
                      [--] FILE...
  varnel-cli --help | --version | COMMAND --help
)TEXT";

const char* const rule_help =
    R"TEXT(
Each FILE is a path; its folder is the item's folder and its last component
the old name. --files-from LIST adds the paths of file LIST, one a line
("-" reads standard input), after those on the command line. preview
prints "old<TAB>new" per item and needs no existing files. rename renames
each file within its folder, never replacing another file, and prints
"status<TAB>old<TAB>new" per item as soon as it is done, then the summary;
a failure's status names the system's reason, as in
"更名失败 (Permission denied)". --journal JFILE records the batch in
JFILE before each rename, so that undo can reverse it even after a crash;
JFILE must be new, empty, or an earlier journal. --order smart renames in
an order in which chains (a→b while b→c) and swaps or cycles (a↔b) succeed:
by atomic swaps of names where the file system has them (ext4, tmpfs,
btrfs, xfs, f2fs), elsewhere through a temporary name ".varnel-swap-…",
which a failing step's status names; the default, in-order, renames row
by row. A running batch locks its journal: a second undo or batch with it
is refused with "另一个Varnel正在执行这批更名".

Names are printed with control characters, TAB, newline and backslash
escaped C-style (\t, \n, \\, \033). -0 (--null): LIST holds paths
ended by NUL bytes, and every printed field ends in a NUL byte instead
(names unescaped); the summary then goes to standard error.

Texts are handled in the program's code page (GB18030): positions and digit
counts count its bytes, so a Chinese character counts two.

RULE number (numbering; defaults in brackets):
  --scope name|ext|all  [name]     --start N [0]   --step N [1]
  --prefix T --body T --digits N [1] --suffix T
  --ext-prefix T --ext T --ext-digits N [empty] --ext-suffix T
RULE replace (find and replace; an empty --with deletes):
  --find T --with T --case-sensitive --scope name|ext|all [name]
  --regex  T of --find is a regular expression (PCRE2) matched on the
           Unicode text; --with may use $1, ${name}, $$ (a group the
           pattern lacks, or a lone $, is refused). A new name longer than
           255 bytes on disk fails as 名称过长; matching may take 2 s per
           batch, the names left after that fail as 正则表达式超出限制
RULE insert:
  --text T --at N|end [1] --ext-text T --ext-at N|end [1]
  --same   the extension text follows the main text
RULE case:
  --name upper|lower|first-upper|first-lower [upper]   --ext (same words) [upper]
RULE tags (names MP3 files from their ID3 tags; a further field shows the
tag status 无标签 / 非MP3文件 where one was written):
  --template T   placeholders #1 artist, #2 title, #3 album, #4 track,
                 #5 year, #6 genre (at most 50 bytes)
  --prefer v1|v2 [v2]   which tag to read first
)TEXT";

const char* const fix_names_help =
    R"TEXT(
fix-names renames each FILE whose name is not UTF-8 (a legacy GBK name) to
the UTF-8 spelling of the same text, never replacing another file, and
prints "status<TAB>old<TAB>new" per file like rename (--journal as there).
A name already in UTF-8 is left alone; one that is not GBK either fails.
)TEXT";

const char* const undo_help =
    R"TEXT(
undo renames the files of the batch recorded in JFILE back, last rename
first, and prints "status<TAB>current<TAB>restored" per file and the
summary. A file already back under its old name counts as restored; a
file is recognised by its inode where inode numbers last, and on FAT and
exFAT by its size and a fingerprint of its content, so a file put in its
place is never renamed. A journal that is not a regular file of this user
or that is malformed is refused (exit 2) with the reason; one that others
may write (as on a FAT or exFAT stick) is trusted only when every file it
names lies in a folder on the journal's drive that everyone may change. A
journal whose batch still runs (another Varnel holds its lock) is left
alone with "另一个Varnel正在执行这批更名" (exit 2).
)TEXT";

const char* const tag_help =
    R"TEXT(
  varnel-cli tag FILE [--set-v1 FIELD=VALUE]... [--set-v2 FIELD=VALUE]...
                      [--remove-v1] [--remove-v2] [--v2-encoding gbk|unicode]
                      [--drop-unconvertible]
prints both tags as v1.FIELD=VALUE and v2.FIELD=VALUE lines (v1=none or
v2=none for a missing tag), after writing what was asked, as the tag
window's 更新 does. FIELD is one of title artist album track year genre
comment composer original_artist copyright url encoder (ID3v1 carries the
first seven; its genre is a number 0..255 or a genre name, its track an
integer). Every field and value is checked before anything is written.
The ID3v2 tag keeps every frame and text not set; set texts are written in
the code page (gbk, the default) or in UTF-16 (unicode). A tag holding
frames that cannot be kept (compressed, encrypted, or without an ID3v2.3
form) is not written unless --drop-unconvertible is given.
)TEXT";

const char* const fix_tags_help =
    R"TEXT(
fix-tags rewrites the ID3v2 texts of each MP3 FILE that were stored as
code-page (GBK) bytes under encoding 0 - text frames, TXXX, COMM, USLT and
the WXXX description - as UTF-16 with a byte-order mark, so that every
other player shows them right. Every other frame and the audio are kept
(in place where the tag fits, else through the safe whole-file rewrite).
--add-v2-from-v1 gives a file that has only an ID3v1 tag an ID3v2 tag (in
UTF-16) made from its fields. --dry-run writes nothing. Prints per changed
text "status<TAB>file<TAB>frame<TAB>before<TAB>after<TAB>change", and
"status<TAB>file" with empty fields for a file that needs nothing or
failed (the reason in brackets), then the summary; -0 and --files-from as
for rename. A tag holding frames that cannot be kept is left unchanged.
)TEXT";

const char* const status_help =
    R"TEXT(
Exit status: 0 when every item succeeded, 1 when any failed, 2 for a usage
error or a journal refused (nothing renamed).
)TEXT";

using Setter = std::function<bool(RulePages&, const std::string& value)>;

bool scope_from(const std::string& word, NameScope& scope) {
    if (word == "name")
        scope = NameScope::main_name;
    else if (word == "ext")
        scope = NameScope::extension;
    else if (word == "all")
        scope = NameScope::both;
    else
        return false;
    return true;
}

bool case_from(const std::string& word, CaseChoice& choice) {
    if (word == "upper")
        choice = CaseChoice::upper;
    else if (word == "lower")
        choice = CaseChoice::lower;
    else if (word == "first-upper")
        choice = CaseChoice::first_upper;
    else if (word == "first-lower")
        choice = CaseChoice::first_lower;
    else
        return false;
    return true;
}

Setter text_field(std::string NumberOptions::*field) {
    return [field](RulePages& p, const std::string& v) {
        p.number.*field = v;
        return true;
    };
}

// A position option: "end", or a text read the way the page reads its field.
Setter position_field(bool InsertOptions::*at_end, std::string InsertOptions::*position) {
    return [=](RulePages& p, const std::string& v) {
        p.insert.*at_end = v == "end";
        if (v != "end") p.insert.*position = v;
        return true;
    };
}

std::map<std::string_view, Setter> value_options(RulePage rule) {
    switch (rule) {
        case RulePage::number:
            return {{"--scope", [](RulePages& p,
                                   const std::string& v) { return scope_from(v, p.number.scope); }},
                    {"--prefix", text_field(&NumberOptions::prefix)},
                    {"--body", text_field(&NumberOptions::body)},
                    {"--digits", text_field(&NumberOptions::digits)},
                    {"--suffix", text_field(&NumberOptions::suffix)},
                    {"--ext-prefix", text_field(&NumberOptions::ext_prefix)},
                    {"--ext", text_field(&NumberOptions::ext_body)},
                    {"--ext-digits", text_field(&NumberOptions::ext_digits)},
                    {"--ext-suffix", text_field(&NumberOptions::ext_suffix)},
                    {"--start", text_field(&NumberOptions::start)},
                    {"--step", text_field(&NumberOptions::step)}};
        case RulePage::replace:
            return {{"--find",
                     [](RulePages& p, const std::string& v) {
                         p.replace.find = v;
                         return true;
                     }},
                    {"--with",
                     [](RulePages& p, const std::string& v) {
                         p.replace.with = v;
                         return true;
                     }},
                    {"--scope", [](RulePages& p, const std::string& v) {
                         return scope_from(v, p.replace.scope);
                     }}};
        case RulePage::insert:
            return {{"--text",
                     [](RulePages& p, const std::string& v) {
                         p.insert.text = v;
                         return true;
                     }},
                    {"--ext-text",
                     [](RulePages& p, const std::string& v) {
                         p.insert.ext_text = v;
                         return true;
                     }},
                    {"--at", position_field(&InsertOptions::at_end, &InsertOptions::position)},
                    {"--ext-at",
                     position_field(&InsertOptions::ext_at_end, &InsertOptions::ext_position)}};
        case RulePage::letter_case:
            return {
                {"--name", [](RulePages& p,
                              const std::string& v) { return case_from(v, p.letter_case.name); }},
                {"--ext", [](RulePages& p, const std::string& v) {
                     return case_from(v, p.letter_case.ext);
                 }}};
        case RulePage::tags:
            return {{"--template",
                     [](RulePages& p, const std::string& v) {
                         if (v.size() > tag_template_max_bytes) return false;
                         p.tags.tag_template = v;
                         return true;
                     }},
                    {"--prefer", [](RulePages& p, const std::string& v) {
                         if (v != "v1" && v != "v2") return false;
                         p.tags.v1_first = v == "v1";
                         return true;
                     }}};
    }
    return {};
}

std::optional<RulePage> rule_from(std::string_view word) {
    if (word == "number") return RulePage::number;
    if (word == "replace") return RulePage::replace;
    if (word == "insert") return RulePage::insert;
    if (word == "case") return RulePage::letter_case;
    if (word == "tags") return RulePage::tags;
    return std::nullopt;
}

ParsedCommand usage(std::string reason) {
    return ParsedCommand{std::nullopt, std::move(reason)};
}

// Reads the options and files of preview and rename.
ParsedCommand parse_rule_command(Command command, std::span<const std::string> args,
                                 const Codec& codec) {
    // fix-names takes no rule: its names come from the files' own texts.
    std::optional<RulePage> rule;
    std::size_t first = 0;
    if (command.kind != CommandKind::fix_names) {
        rule = rule_from(args.empty() ? std::string_view{} : std::string_view(args[0]));
        if (!rule) return usage("expected a rule: number, replace, insert, case or tags");
        command.pages.active = *rule;
        first = 1;
    }
    const auto setters = value_options(rule.value_or(RulePage::number));
    bool same = false;
    bool options_done = false;
    for (std::size_t i = first; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options_done || arg.size() < 2 || arg[0] != '-') {
            command.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_done = true;
            continue;
        }
        if (rule == RulePage::replace && arg == "--case-sensitive") {
            command.pages.replace.case_sensitive = true;
            continue;
        }
        if (rule == RulePage::replace && arg == "--regex") {
            command.pages.replace.regex = true;
            continue;
        }
        if (arg == "-0" || arg == "--null") {
            command.null_data = true;
            continue;
        }
        if (rule == RulePage::insert && arg == "--same") {
            same = true;
            continue;
        }
        std::string name = arg, value;
        const std::size_t equals = arg.find('=');
        const bool inline_value = equals != std::string::npos;
        if (inline_value) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        const bool batch = command.kind != CommandKind::preview;
        const bool is_journal = name == "--journal" && batch;
        const bool is_order = name == "--order" && command.kind == CommandKind::rename;
        const bool is_list = name == "--files-from";
        const auto setter = rule ? setters.find(name) : setters.end();
        if (!is_journal && !is_list && !is_order && setter == setters.end())
            return usage("unknown option " + name);
        if (!inline_value) {
            if (i + 1 >= args.size()) return usage("option " + name + " needs a value");
            value = args[++i];
        }
        if (is_journal) {
            command.journal = value;
            continue;
        }
        if (is_list) {
            command.files_from = value;
            continue;
        }
        if (is_order) {
            if (value != "in-order" && value != "smart")
                return usage("option --order: bad value " + value);
            command.order = value == "smart" ? RenameOrder::smart : RenameOrder::in_order;
            continue;
        }
        const auto text = codec.from_utf8(value);
        if (!text) return usage("option " + name + ": the value is not valid UTF-8");
        if (name == "--template" && text->size() > tag_template_max_bytes)
            return usage("option --template: longer than 50 bytes");
        if (!setter->second(command.pages, *text))
            return usage("option " + name + ": bad value " + value);
    }
    if (same) command.pages.insert.ext_text = command.pages.insert.text;
    if (command.pages.replace.regex) {
        const RegexReplacer pattern(codec.to_utf8_lossy(command.pages.replace.find),
                                    command.pages.replace.case_sensitive);
        if (!pattern.ok()) return usage("option --find: " + pattern.error());
        const std::string with_error =
            pattern.replacement_error(codec.to_utf8_lossy(command.pages.replace.with));
        if (!with_error.empty()) return usage("option --with: " + with_error);
    }
    if (command.files.empty() && command.files_from.empty()) return usage("no FILE given");
    return ParsedCommand{std::move(command), {}};
}

// FIELD=VALUE, the value converted to the code page.
std::optional<std::pair<std::string, std::string>> field_setting(const std::string& arg,
                                                                 const Codec& codec) {
    const std::size_t equals = arg.find('=');
    if (equals == std::string::npos || equals == 0) return std::nullopt;
    auto value = codec.from_utf8(std::string_view(arg).substr(equals + 1));
    if (!value) return std::nullopt;
    return std::pair{arg.substr(0, equals), std::move(*value)};
}

ParsedCommand parse_fix_tags_command(std::span<const std::string> args) {
    Command command;
    command.kind = CommandKind::fix_tags;
    bool options_done = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options_done || arg.size() < 2 || arg[0] != '-')
            command.files.push_back(arg);
        else if (arg == "--")
            options_done = true;
        else if (arg == "--add-v2-from-v1")
            command.add_v2_from_v1 = true;
        else if (arg == "--dry-run")
            command.dry_run = true;
        else if (arg == "-0" || arg == "--null")
            command.null_data = true;
        else if (arg == "--files-from" && i + 1 < args.size())
            command.files_from = args[++i];
        else if (arg.starts_with("--files-from="))
            command.files_from = arg.substr(13);
        else
            return usage("unknown option " + arg);
    }
    if (command.files.empty() && command.files_from.empty()) return usage("no FILE given");
    return ParsedCommand{std::move(command), {}};
}

ParsedCommand parse_tag_command(std::span<const std::string> args, const Codec& codec) {
    Command command;
    command.kind = CommandKind::tag;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--remove-v1") {
            command.remove_v1 = true;
            continue;
        }
        if (arg == "--remove-v2") {
            command.remove_v2 = true;
            continue;
        }
        if (arg == "--drop-unconvertible") {
            command.drop_unconvertible = true;
            continue;
        }
        if (arg == "--v2-encoding") {
            const std::string word = i + 1 < args.size() ? args[++i] : std::string();
            if (word != "gbk" && word != "unicode")
                return usage("--v2-encoding needs gbk or unicode");
            command.v2_unicode = word == "unicode";
            continue;
        }
        if (arg == "--set-v1" || arg == "--set-v2") {
            if (i + 1 >= args.size()) return usage(arg + " needs FIELD=VALUE");
            auto setting = field_setting(args[++i], codec);
            if (!setting) return usage(arg + " needs FIELD=VALUE in UTF-8");
            (arg == "--set-v1" ? command.set_v1 : command.set_v2).push_back(std::move(*setting));
            continue;
        }
        if (arg.starts_with("--")) return usage("unknown option " + arg);
        command.files.push_back(arg);
    }
    if (command.files.size() != 1) return usage("tag takes exactly one FILE");
    return ParsedCommand{std::move(command), {}};
}

const std::set<std::string, std::less<>> help_topics{"preview", "rename", "fix-names",
                                                     "undo",    "tag",    "fix-tags"};

// True when --help or -h comes before any "--".
bool asks_for_help(std::span<const std::string> args) {
    for (const std::string& arg : args.subspan(1)) {
        if (arg == "--") return false;
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

}  // namespace

ParsedCommand parse_command(std::span<const std::string> args, const Codec& codec) {
    if (args.empty()) return usage("no command given");
    Command command;
    const std::string& verb = args[0];
    if (verb == "--help" || verb == "-h" || verb == "help") return ParsedCommand{command, {}};
    if (verb == "--version") {
        command.kind = CommandKind::version;
        return ParsedCommand{command, {}};
    }
    if (asks_for_help(args) && help_topics.contains(verb)) {
        command.help_topic = verb;
        return ParsedCommand{command, {}};
    }
    if (verb == "preview" || verb == "rename" || verb == "fix-names") {
        command.kind = verb == "preview"  ? CommandKind::preview
                       : verb == "rename" ? CommandKind::rename
                                          : CommandKind::fix_names;
        return parse_rule_command(std::move(command), args.subspan(1), codec);
    }
    if (verb == "undo") {
        command.kind = CommandKind::undo;
        for (std::size_t i = 1; i < args.size(); ++i) {
            if (args[i] == "-0" || args[i] == "--null")
                command.null_data = true;
            else if (args[i] == "--journal" && i + 1 < args.size())
                command.journal = args[++i];
            else if (args[i].starts_with("--journal="))
                command.journal = args[i].substr(10);
            else
                return usage("undo takes --journal JFILE");
        }
        if (command.journal.empty()) return usage("undo takes --journal JFILE");
        return ParsedCommand{std::move(command), {}};
    }
    if (verb == "tag") return parse_tag_command(args.subspan(1), codec);
    if (verb == "fix-tags") return parse_fix_tags_command(args.subspan(1));
    return usage("unknown command " + verb);
}

std::string help_text(const std::string& topic) {
    const std::string usage_part = usage_help;
    if (topic == "preview" || topic == "rename") return usage_part + rule_help + status_help;
    if (topic == "fix-names") return usage_part + fix_names_help + status_help;
    if (topic == "undo") return usage_part + undo_help + status_help;
    if (topic == "tag") return usage_part + tag_help + status_help;
    if (topic == "fix-tags") return usage_part + fix_tags_help + status_help;
    return usage_part + rule_help + fix_names_help + undo_help + tag_help + fix_tags_help +
           status_help;
}

}  // namespace varnel::cli
