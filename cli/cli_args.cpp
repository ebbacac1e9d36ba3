// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_args.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <set>

#include "platform/language.h"
#include "rename/regex_replace.h"
#include "rename/tag_template.h"

namespace varnel::cli {

namespace {

// How an option's value is read.
enum class ValueKind {
    flag,      // no value
    text,      // any text (UTF-8, converted to the code page)
    number,    // a whole number of at most `width` characters
    position,  // "end", or a number as above
    word,      // one of `words`
};

// Which commands an option belongs to (a set of bits).
enum CommandBit : unsigned {
    on_preview = 1U << 0,
    on_rename = 1U << 1,
    on_fix_names = 1U << 2,
    on_rule = on_preview | on_rename,
    on_batch = on_rename | on_fix_names,
    on_listed = on_preview | on_rename | on_fix_names,
};

unsigned command_bit(CommandKind kind) {
    switch (kind) {
        case CommandKind::preview:
            return on_preview;
        case CommandKind::rename:
            return on_rename;
        case CommandKind::fix_names:
            return on_fix_names;
        default:
            return 0;
    }
}

// Sets what the option means in the command; `value` is in the code page
// ("end" for the end of a position; empty for a flag). Returns false when
// the value is refused.
using Apply = std::function<bool(Command&, const std::string& value)>;

// One option of preview, rename or fix-names.
struct OptionRow {
    const char* names;             // CLI11 names, as "-n,--dry-run"
    unsigned commands;             // CommandBit set
    std::optional<RulePage> rule;  // only with this rule; nullopt: every rule
    ValueKind kind;
    std::size_t width = 0;                  // of a number or position
    std::vector<std::string_view> words{};  // of a word
    Apply apply;
};

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
    else if (word == "title")
        choice = CaseChoice::title_case;
    else
        return false;
    return true;
}

// Sets a text or flag field of a rule page.
template <typename Page>
Apply page_text(Page RulePages::*page, std::string Page::*field) {
    return [=](Command& c, const std::string& v) {
        (c.pages.*page).*field = v;
        return true;
    };
}
template <typename Page>
Apply page_flag(Page RulePages::*page, bool Page::*field) {
    return [=](Command& c, const std::string&) {
        (c.pages.*page).*field = true;
        return true;
    };
}

Apply position_field(bool InsertOptions::*at_end, std::string InsertOptions::*position) {
    return [=](Command& c, const std::string& v) {
        c.pages.insert.*at_end = v == "end";
        if (v != "end") c.pages.insert.*position = v;
        return true;
    };
}

Apply command_flag(bool Command::*field) {
    return [field](Command& c, const std::string&) {
        c.*field = true;
        return true;
    };
}

// The window's fields: 起始量 holds 8 characters, 增量 6, 位数 3, the
// insert positions 3.
constexpr std::size_t start_width = 8;
constexpr std::size_t step_width = 6;
constexpr std::size_t digits_width = 3;
constexpr std::size_t position_width = 3;

// Options of one rule, by kind.
OptionRow rule_text(const char* names, RulePage rule, Apply apply) {
    return {names, on_rule, rule, ValueKind::text, 0, {}, std::move(apply)};
}
OptionRow rule_number(const char* names, RulePage rule, ValueKind kind, std::size_t width,
                       Apply apply) {
    return {names, on_rule, rule, kind, width, {}, std::move(apply)};
}
OptionRow rule_flag(const char* names, RulePage rule, Apply apply) {
    return {names, on_rule, rule, ValueKind::flag, 0, {}, std::move(apply)};
}
OptionRow rule_word(const char* names, RulePage rule, std::vector<std::string_view> words,
                     Apply apply) {
    return {names, on_rule, rule, ValueKind::word, 0, std::move(words), std::move(apply)};
}
// Options of the commands, whatever the rule.
OptionRow command_option(const char* names, unsigned commands, ValueKind kind, Apply apply,
                          std::vector<std::string_view> words = {}) {
    return {names, commands, std::nullopt, kind, 0, std::move(words), std::move(apply)};
}

// Every option of preview, rename and fix-names.
const std::vector<OptionRow>& option_table() {
    using R = RulePage;
    using K = ValueKind;
    const std::vector<std::string_view> scopes{"name", "ext", "all"};
    const std::vector<std::string_view> cases{"upper", "lower", "first-upper", "first-lower",
                                              "title"};
    const auto number = &RulePages::number;
    const auto replace = &RulePages::replace;
    const auto insert = &RulePages::insert;
    static const std::vector<OptionRow> table{
        rule_word(
            "--scope", R::number, scopes,
            [](Command& c, const std::string& v) { return scope_from(v, c.pages.number.scope); }),
        rule_number("--start", R::number, K::number, start_width,
                    page_text(number, &NumberOptions::start)),
        rule_number("--step", R::number, K::number, step_width,
                    page_text(number, &NumberOptions::step)),
        rule_text("--prefix", R::number, page_text(number, &NumberOptions::prefix)),
        rule_text("--body", R::number, page_text(number, &NumberOptions::body)),
        rule_number("--digits", R::number, K::number, digits_width,
                    page_text(number, &NumberOptions::digits)),
        rule_text("--suffix", R::number, page_text(number, &NumberOptions::suffix)),
        rule_text("--ext-prefix", R::number, page_text(number, &NumberOptions::ext_prefix)),
        rule_text("--ext", R::number, page_text(number, &NumberOptions::ext_body)),
        rule_number("--ext-digits", R::number, K::number, digits_width,
                    page_text(number, &NumberOptions::ext_digits)),
        rule_text("--ext-suffix", R::number, page_text(number, &NumberOptions::ext_suffix)),

        rule_text("--find", R::replace, page_text(replace, &ReplaceOptions::find)),
        rule_text("--with", R::replace, page_text(replace, &ReplaceOptions::with)),
        rule_word(
            "--scope", R::replace, scopes,
            [](Command& c, const std::string& v) { return scope_from(v, c.pages.replace.scope); }),
        rule_flag("--case-sensitive", R::replace,
                  page_flag(replace, &ReplaceOptions::case_sensitive)),
        rule_flag("--regex", R::replace, page_flag(replace, &ReplaceOptions::regex)),

        rule_text("--text", R::insert, page_text(insert, &InsertOptions::text)),
        rule_text("--ext-text", R::insert, page_text(insert, &InsertOptions::ext_text)),
        rule_number("--at", R::insert, K::position, position_width,
                    position_field(&InsertOptions::at_end, &InsertOptions::position)),
        rule_number("--ext-at", R::insert, K::position, position_width,
                    position_field(&InsertOptions::ext_at_end, &InsertOptions::ext_position)),
        // Applied after the others (parse_listed).
        rule_flag("--same", R::insert, {}),

        rule_word("--name", R::letter_case, cases,
                  [](Command& c, const std::string& v) {
                      return case_from(v, c.pages.letter_case.name);
                  }),
        rule_word(
            "--ext", R::letter_case, cases,
            [](Command& c, const std::string& v) { return case_from(v, c.pages.letter_case.ext); }),

        rule_text("--template", R::tags,
                  [](Command& c, const std::string& v) {
                      if (v.size() > tag_template_max_bytes) return false;
                      c.pages.tags.tag_template = v;
                      return true;
                  }),
        rule_word("--prefer", R::tags, {"v1", "v2"},
                  [](Command& c, const std::string& v) {
                      c.pages.tags.v1_first = v == "v1";
                      return true;
                  }),

        rule_flag("--all-formats", R::tags,
                  page_flag(&RulePages::tags, &TagOptions::other_formats)),

        command_option("-0,--null", on_listed, K::flag, command_flag(&Command::null_data)),
        command_option("--files-from", on_listed, K::text,
                       [](Command& c, const std::string& v) {
                           c.files_from = v;
                           return true;
                       }),
        command_option("--journal", on_batch, K::text,
                       [](Command& c, const std::string& v) {
                           c.journal = v;
                           return true;
                       }),
        command_option("--no-journal", on_batch, K::flag, command_flag(&Command::no_journal)),
        command_option("-q,--quiet", on_batch, K::flag, command_flag(&Command::quiet)),
        command_option("-n,--dry-run", on_rename, K::flag, command_flag(&Command::dry_run)),
        command_option("--order", on_rename, K::word,
                       [](Command& c, const std::string& v) {
                           c.order = v == "smart" ? RenameOrder::smart : RenameOrder::in_order;
                           return true;
                       },
                       {"in-order", "smart"}),
    };
    return table;
}

const Codec& message_codec() {
    static const Codec codec;
    return codec;
}

// The UTF-8 of a code-page text, for CLI11's messages.
std::string utf8_of(const std::string& code_page_text) {
    return message_codec().to_utf8_lossy(code_page_text);
}

// The code page of a UTF-8 text: a word of the command line, CLI11's message.
std::string from_utf8(std::string_view utf8) {
    return message_codec().from_utf8_lossy(utf8);
}

std::string in_quotes(std::string_view value) {
    return '"' + std::string(value) + '"';
}

// The check of an option's value by its kind; CLI11 puts the option's
// name before a failure's message.
CLI::Validator value_check(const OptionRow& row, std::string name) {
    return CLI::Validator(
        [&row, name](std::string& value) -> std::string {
            if (row.kind == ValueKind::word) {
                for (std::string_view word : row.words)
                    if (value == word) return {};
                return utf8_of(say("不能取值 ", "cannot be ")) + in_quotes(value);
            }
            if (row.kind == ValueKind::position && value == "end") return {};
            if (row.kind == ValueKind::number || row.kind == ValueKind::position) {
                const std::string error = whole_number_error(name, value, row.width);
                // CLI11 adds the name itself.
                return error.empty() ? std::string() : utf8_of(error).substr(name.size() + 2);
            }
            return {};
        },
        "");
}

[[noreturn]] void refuse(const std::string& name, const std::string& code_page_reason) {
    throw CLI::ValidationError(name, utf8_of(code_page_reason));
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

// The option's long name, for messages.
std::string long_name(const char* names) {
    const std::string all = names;
    const std::size_t comma = all.rfind(',');
    return comma == std::string::npos ? all : all.substr(comma + 1);
}

// Parses `args` (the words after the command and its rule) with `app`;
// the usage error in the code page, or empty. Words CLI11 does not know
// are an unknown option.
std::string parse_with(CLI::App& app, std::span<const std::string> args) {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ArgumentMismatch& error) {
        return say("选项缺少值：", "an option lacks its value: ") + from_utf8(error.what());
    } catch (const CLI::ParseError& error) {
        return from_utf8(error.what());
    }
    // CLI11 keeps the "--" that ends the options among the words it left.
    for (const std::string& word : app.remaining())
        if (word.starts_with('-') && word != "--")
            return say("未知的选项 ", "unknown option ") + from_utf8(word);
    return {};
}

// A new CLI11 parser without its own help (ours is --help/-h, seen before
// parsing) that takes the last of an option given twice.
std::unique_ptr<CLI::App> new_app() {
    auto app = std::make_unique<CLI::App>();
    app->set_help_flag();
    app->allow_extras();
    app->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    return app;
}

// True for a flag of preview and rename that may come before the rule.
bool is_leading_flag(const std::string& word) {
    for (const OptionRow& row : option_table()) {
        if (row.kind != ValueKind::flag || row.rule) continue;
        for (const auto& name : CLI::detail::split(row.names, ','))
            if (name == word) return true;
    }
    return false;
}

// Adds to `app` the options of the table that belong to `kind` (0: none of
// the commands' own) and to `rule` (nullopt: none of a rule's); --same sets
// `same`.
void add_table_options(CLI::App& app, Command& command, unsigned kind, std::optional<RulePage> rule,
                       const Codec& codec, bool& same) {
    for (const OptionRow& row : option_table()) {
        if (row.rule ? row.rule != rule : (row.commands & kind) == 0) continue;
        const std::string name = long_name(row.names);
        if (row.kind == ValueKind::flag) {
            app.add_flag_callback(row.names, [&command, &row, &same, name] {
                if (name == "--same")
                    same = true;
                else
                    (void)row.apply(command, {});
            });
            continue;
        }
        app.add_option_function<std::string>(
               row.names,
               [&command, &row, &codec, name](const std::string& value) {
                   const std::optional<std::string> text = codec.from_utf8(value);
                   if (!text)
                       refuse(name, say("值不是有效的 UTF-8", "the value is not valid UTF-8"));
                   if (!row.apply(command, *text))
                       refuse(name, say("不能取值 ", "cannot be ") + *text);
               })
            ->check(value_check(row, name));
    }
}

// Why the options of a replace rule cannot be used (a pattern or a
// replacement refused); empty when they can.
std::string regex_error(const RulePages& pages, const Codec& codec) {
    if (!pages.replace.regex) return {};
    const RegexReplacer pattern(codec.to_utf8_lossy(pages.replace.find),
                                pages.replace.case_sensitive);
    if (!pattern.ok()) return "option --find: " + codec.from_utf8_lossy(pattern.error());
    const std::string with_error =
        pattern.replacement_error(codec.to_utf8_lossy(pages.replace.with));
    return with_error.empty() ? std::string()
                              : "option --with: " + codec.from_utf8_lossy(with_error);
}

// The words of a --step value: split at blanks; '…' and "…" quote blanks,
// a backslash the character after it. nullopt when a quote is not closed.
std::optional<std::vector<std::string>> step_words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool in_word = false;
    char quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0 && c == quote) {
            quote = 0;
        } else if (quote == 0 && (c == '\'' || c == '"')) {
            quote = c;
            in_word = true;
        } else if (c == '\\' && quote != '\'' && i + 1 < text.size()) {
            word += text[++i];
            in_word = true;
        } else if (quote == 0 && (c == ' ' || c == '\t')) {
            if (in_word) words.push_back(std::move(word));
            word.clear();
            in_word = false;
        } else {
            word += c;
            in_word = true;
        }
    }
    if (quote != 0) return std::nullopt;
    if (in_word) words.push_back(std::move(word));
    return words;
}

// One --step value: a rule and its options, read by the same table as the
// rule of preview and rename; empty, or the reason it is refused.
std::string read_step(const std::string& text, const Codec& codec, RuleStep& step) {
    const std::optional<std::vector<std::string>> words = step_words(text);
    if (!words) return say("引号没有结束", "a quote is not closed");
    const std::optional<RulePage> rule = words->empty() ? std::nullopt : rule_from(words->front());
    if (!rule)
        return say("需要一条规则：number、replace、insert、case 或 tags",
                   "expected a rule: number, replace, insert, case or tags");
    Command command;
    command.pages.active = *rule;
    const auto app = new_app();
    bool same = false;
    add_table_options(*app, command, 0, rule, codec, same);
    std::vector<std::string> extra;
    app->add_option("extra", extra);
    if (std::string error = parse_with(*app, std::span(*words).subspan(1)); !error.empty())
        return error;
    if (!extra.empty()) return say("多余的词 ", "a word too many: ") + from_utf8(extra.front());
    if (same) command.pages.insert.ext_text = command.pages.insert.text;
    if (std::string error = regex_error(command.pages, codec); !error.empty()) return error;
    step.rule = std::move(command.pages);
    return {};
}

// What the first word after the flags of preview or rename starts.
enum class ListedStart { rule, chain, preset };

// preview, rename and fix-names: the options of the table that belong to
// the command and its rule (or its chain: --step, --preset), then the files.
ParsedCommand parse_listed(Command command, std::span<const std::string> args, const Codec& codec) {
    std::optional<RulePage> rule;
    std::vector<std::string> words(args.begin(), args.end());
    if (command.kind != CommandKind::fix_names) {
        // Flags may come before the rule, as in `rename -n number …`.
        const auto first_word = std::find_if(
            words.begin(), words.end(), [](const std::string& w) { return !is_leading_flag(w); });
        const bool preset = first_word != words.end() &&
                            (*first_word == "--preset" || first_word->starts_with("--preset="));
        command.chain = preset || (first_word != words.end() && *first_word == "chain");
        rule = first_word == words.end() || command.chain ? std::nullopt : rule_from(*first_word);
        if (!rule && !command.chain)
            return usage(say("需要一条规则：number、replace、insert、case、tags 或 chain",
                             "expected a rule: number, replace, insert, case, tags or chain"));
        if (rule) command.pages.active = *rule;
        if (!preset) {
            std::rotate(words.begin(), first_word, first_word + 1);
            words.erase(words.begin());
        }
    }
    const auto app = new_app();
    bool same = false;
    add_table_options(*app, command, command_bit(command.kind), rule, codec, same);
    std::vector<std::string> step_texts;
    if (command.chain) {
        app->add_option("--step", step_texts)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
            ->expected(1)
            ->allow_extra_args(false);
        app->add_option("--preset", command.preset);
    }
    app->add_option("files", command.files);
    if (std::string error = parse_with(*app, words); !error.empty()) return usage(std::move(error));
    if (same) command.pages.insert.ext_text = command.pages.insert.text;
    if (std::string error = regex_error(command.pages, codec); !error.empty())
        return usage(std::move(error));
    for (std::size_t k = 0; k < step_texts.size(); ++k) {
        RuleStep& step = command.steps.emplace_back();
        if (std::string error = read_step(step_texts[k], codec, step); !error.empty())
            return usage("--step " + std::to_string(k + 1) + " (" + from_utf8(step_texts[k]) +
                         "): " + error);
    }
    if (command.journal.size() > 0 && command.no_journal)
        return usage(say("--journal 与 --no-journal 不能同时使用",
                         "--journal and --no-journal exclude each other"));
    if (command.files.empty() && command.files_from.empty())
        return usage(say("没有给出文件", "no FILE given"));
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

ParsedCommand parse_fix_tags(std::span<const std::string> args) {
    Command command;
    command.kind = CommandKind::fix_tags;
    const auto app = new_app();
    app->add_flag("--add-v2-from-v1", command.add_v2_from_v1);
    app->add_flag("--dry-run", command.dry_run);
    app->add_flag("--no-journal", command.no_journal);
    app->add_flag("-0,--null", command.null_data);
    app->add_option("--files-from", command.files_from);
    app->add_option("files", command.files);
    if (std::string error = parse_with(*app, args); !error.empty()) return usage(std::move(error));
    if (command.files.empty() && command.files_from.empty())
        return usage(say("没有给出文件", "no FILE given"));
    return ParsedCommand{std::move(command), {}};
}

ParsedCommand parse_tag(std::span<const std::string> args, const Codec& codec) {
    Command command;
    command.kind = CommandKind::tag;
    const auto app = new_app();
    app->add_flag("--remove-v1", command.remove_v1);
    app->add_flag("--remove-v2", command.remove_v2);
    app->add_flag("--drop-unconvertible", command.drop_unconvertible);
    app->add_option_function<std::string>(
           "--v2-encoding",
           [&command](const std::string& v) { command.v2_unicode = v == "unicode"; })
        ->check(CLI::IsMember({"gbk", "unicode"}));
    for (const char* name : {"--set-v1", "--set-v2"}) {
        auto& settings = std::string_view(name) == "--set-v1" ? command.set_v1 : command.set_v2;
        app->add_option_function<std::vector<std::string>>(
               name,
               [&settings, &codec, name](const std::vector<std::string>& values) {
                   for (const std::string& value : values) {
                       auto setting = field_setting(value, codec);
                       if (!setting)
                           refuse(name,
                                  say("需要 FIELD=VALUE（UTF-8）", "needs FIELD=VALUE in UTF-8"));
                       settings.push_back(std::move(*setting));
                   }
               })
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
            ->expected(1)
            ->allow_extra_args(false);
    }
    app->add_option("files", command.files);
    if (std::string error = parse_with(*app, args); !error.empty()) return usage(std::move(error));
    if (command.files.size() != 1)
        return usage(say("tag 只接受一个文件", "tag takes exactly one FILE"));
    return ParsedCommand{std::move(command), {}};
}

ParsedCommand parse_tags_from_names(std::span<const std::string> args, const Codec& codec) {
    Command command;
    command.kind = CommandKind::tags_from_names;
    const auto app = new_app();
    std::optional<std::string> tag_template;
    app->add_option_function<std::string>("--template", [&](const std::string& value) {
        tag_template = codec.from_utf8(value);
        if (!tag_template)
            refuse("--template", say("值不是有效的 UTF-8", "the value is not valid UTF-8"));
    });
    app->add_flag("-n,--dry-run", command.dry_run);
    app->add_flag("-q,--quiet", command.quiet);
    app->add_flag("-0,--null", command.null_data);
    app->add_option("--files-from", command.files_from);
    app->add_option("files", command.files);
    if (std::string error = parse_with(*app, args); !error.empty()) return usage(std::move(error));
    if (!tag_template)
        return usage(
            say("tags-from-names 需要 --template T", "tags-from-names needs --template T"));
    command.pages.tags.tag_template = std::move(*tag_template);
    if (command.files.empty() && command.files_from.empty())
        return usage(say("没有给出文件", "no FILE given"));
    return ParsedCommand{std::move(command), {}};
}

ParsedCommand parse_undo(std::span<const std::string> args) {
    Command command;
    command.kind = CommandKind::undo;
    const auto app = new_app();
    bool last = false;
    bool list = false;
    bool tags = false;
    std::vector<std::string> numbers;
    app->add_flag("-0,--null", command.null_data);
    app->add_option("--journal", command.journal);
    app->add_flag("--last", last);
    app->add_flag("--list", list);
    app->add_flag("--tags", tags);
    app->add_option("number", numbers);
    if (std::string error = parse_with(*app, args); !error.empty()) return usage(std::move(error));
    const int chosen = (command.journal.empty() ? 0 : 1) + (last ? 1 : 0) + (list ? 1 : 0) +
                       (tags ? 1 : 0) + (numbers.empty() ? 0 : 1);
    if (chosen != 1 || numbers.size() > 1)
        return usage(say("undo 需要 --journal JFILE、--last、--list、--tags 或 N 之一",
                         "undo takes one of --journal JFILE, --last, --list, --tags or N"));
    if (last) command.undo_choice = UndoChoice::last;
    if (tags) command.undo_choice = UndoChoice::tags;
    if (list) command.undo_choice = UndoChoice::list;
    if (!numbers.empty()) {
        const std::string& n = numbers.front();
        const bool digits =
            !n.empty() && n.size() <= 3 && n.find_first_not_of("0123456789") == std::string::npos;
        if (!digits || std::stoi(n) < 1)
            return usage(say("undo：", "undo: ") + from_utf8(in_quotes(n)) +
                         say(" 不是 undo --list 给出的编号", " is not a number undo --list shows"));
        command.undo_choice = UndoChoice::number;
        command.undo_number = std::stoi(n);
    }
    return ParsedCommand{std::move(command), {}};
}

const std::set<std::string, std::less<>> help_topics{
    "preview", "rename", "fix-names", "undo", "tag", "fix-tags", "tags-from-names"};

// True when --help or -h comes before any "--".
bool asks_for_help(std::span<const std::string> args) {
    for (const std::string& arg : args.subspan(1)) {
        if (arg == "--") return false;
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

}  // namespace

std::string whole_number_error(std::string_view option, std::string_view value, std::size_t width) {
    const std::string_view digits = value.starts_with('-') ? value.substr(1) : value;
    const bool whole =
        !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
    const std::string head = std::string(option) + ": " + from_utf8(in_quotes(value));
    if (!whole) return head + say(" 不是整数", " is not a whole number");
    if (value.size() > width)
        return head + say(" 超过 ", " is longer than ") + std::to_string(width) +
               say(" 个字符", " characters");
    return {};
}

std::vector<std::string> option_names(CommandKind kind, RulePage rule) {
    std::vector<std::string> names;
    for (const OptionRow& row : option_table()) {
        if ((row.commands & command_bit(kind)) == 0) continue;
        if (row.rule && (kind == CommandKind::fix_names || row.rule != rule)) continue;
        for (std::string& name : CLI::detail::split(row.names, ','))
            names.push_back(std::move(name));
    }
    return names;
}

ParsedCommand parse_command(std::span<const std::string> args, const Codec& codec) {
    if (args.empty()) return usage(say("没有给出命令", "no command given"));
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
        return parse_listed(std::move(command), args.subspan(1), codec);
    }
    if (verb == "undo") return parse_undo(args.subspan(1));
    if (verb == "tag") return parse_tag(args.subspan(1), codec);
    if (verb == "fix-tags") return parse_fix_tags(args.subspan(1));
    if (verb == "tags-from-names") return parse_tags_from_names(args.subspan(1), codec);
    return usage(say("未知的命令 ", "unknown command ") + from_utf8(verb));
}

}  // namespace varnel::cli
