// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/preset.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>

#include "platform/atomic_file.h"
#include "platform/code_page_chars.h"
#include "platform/error_text.h"
#include "platform/language.h"
#include "platform/small_file.h"

namespace varnel {
namespace {

// ---- words of the file (code page) ----

const std::string& word(std::string_view utf8) {
    return code_page(utf8);
}

const std::string& header_section() {
    return word("Varnel预设");
}

std::string step_section(std::size_t k) {
    return word("第") + std::to_string(k + 1) + word("步");
}

struct Choice {
    const char* utf8;
    int value;
};

constexpr std::array page_words{Choice{"常规", 0}, Choice{"替换/删除", 1}, Choice{"插入", 2},
                                Choice{"大小写", 3}, Choice{"MP3标签", 4}};
constexpr std::array number_scope_words{Choice{"文件名", 0}, Choice{"扩展名", 1},
                                        Choice{"全部", 2}};
constexpr std::array replace_scope_words{Choice{"仅文件名", 0}, Choice{"仅扩展名", 1},
                                         Choice{"全部", 2}};
constexpr std::array case_words{Choice{"全部大写", 0}, Choice{"全部小写", 1},
                                Choice{"首字母大写", 2}, Choice{"首字母小写", 3},
                                Choice{"每个单词首字母大写", 4}};
constexpr std::array switch_words{Choice{"关", 0}, Choice{"开", 1}};
constexpr std::array priority_words{Choice{"ID3v2.x", 0}, Choice{"ID3v1.x", 1}};

template <std::size_t N>
const std::string& word_of(const std::array<Choice, N>& words, int value) {
    for (const Choice& c : words)
        if (c.value == value) return word(c.utf8);
    return word(words[0].utf8);
}

template <std::size_t N>
std::optional<int> value_of(const std::array<Choice, N>& words, std::string_view text) {
    for (const Choice& c : words)
        if (word(c.utf8) == text) return c.value;
    return std::nullopt;
}

// ---- values ----

}  // namespace

std::string escaped_preset_value(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for_each_char(value, [&](std::size_t at, std::size_t size) {
        const std::string_view c = value.substr(at, size);
        if (c == "\\")
            out += "\\\\";
        else if (c == "\n")
            out += "\\n";
        else if (c == "\r")
            out += "\\r";
        else
            out += c;
    });
    return out;
}

std::optional<std::string> unescaped_preset_value(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    bool escape = false;
    bool broken = false;
    for_each_char(value, [&](std::size_t at, std::size_t size) {
        const std::string_view c = value.substr(at, size);
        if (!escape) {
            if (c == "\\")
                escape = true;
            else
                out += c;
            return;
        }
        escape = false;
        if (c == "\\")
            out += '\\';
        else if (c == "n")
            out += '\n';
        else if (c == "r")
            out += '\r';
        else
            broken = true;
    });
    if (escape || broken) return std::nullopt;
    return out;
}

namespace {

// ---- writing ----

class Writer {
public:
    void section(const std::string& name) { out_ += "[" + name + "]\n"; }
    void key(std::string_view utf8_key, std::string_view value) {
        out_ += word(utf8_key);
        out_ += '=';
        out_ += escaped_preset_value(value);
        out_ += '\n';
    }
    void raw(const std::string& line) { out_ += line + '\n'; }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

void write_number(Writer& w, const NumberOptions& o) {
    w.key("作用于", word_of(number_scope_words, static_cast<int>(o.scope)));
    w.key("起始量", o.start);
    w.key("增量", o.step);
    w.key("文件名前缀", o.prefix);
    w.key("主文件名", o.body);
    w.key("文件名位数", o.digits);
    w.key("文件名后缀", o.suffix);
    w.key("扩展名前缀", o.ext_prefix);
    w.key("新扩展名", o.ext_body);
    w.key("扩展名位数", o.ext_digits);
    w.key("扩展名后缀", o.ext_suffix);
}

void write_replace(Writer& w, const ReplaceOptions& o) {
    w.key("查找内容", o.find);
    w.key("替换为", o.with);
    w.key("区分大小写", word_of(switch_words, o.case_sensitive));
    w.key("正则表达式", word_of(switch_words, o.regex));
    w.key("应用于", word_of(replace_scope_words, static_cast<int>(o.scope)));
}

void write_insert(Writer& w, const InsertOptions& o) {
    w.key("文件名字符", o.text);
    w.key("扩展名字符", o.ext_text);
    w.key("文件名位置", o.position);
    w.key("文件名尾", word_of(switch_words, o.at_end));
    w.key("扩展名位置", o.ext_position);
    w.key("扩展名尾", word_of(switch_words, o.ext_at_end));
}

void write_step(Writer& w, const RuleStep& step) {
    const RulePages& r = step.rule;
    w.key("规则", word_of(page_words, static_cast<int>(r.active)));
    w.key("启用", word_of(switch_words, step.enabled));
    switch (r.active) {
        case RulePage::number:
            write_number(w, r.number);
            break;
        case RulePage::replace:
            write_replace(w, r.replace);
            break;
        case RulePage::insert:
            write_insert(w, r.insert);
            break;
        case RulePage::letter_case:
            w.key("文件名", word_of(case_words, static_cast<int>(r.letter_case.name)));
            w.key("扩展名", word_of(case_words, static_cast<int>(r.letter_case.ext)));
            break;
        case RulePage::tags:
            w.key("命名规则", r.tags.tag_template);
            w.key("优先", word_of(priority_words, r.tags.v1_first));
            break;
    }
}

void write_unknown_of(Writer& w, const Preset& preset, const std::string& section) {
    for (const PresetLine& line : preset.unknown)
        if (line.section == section) w.raw(line.line);
}

// ---- reading ----

struct Section {
    std::map<std::string, std::string, std::less<>> values;  // first of each key, escaped
    std::map<std::string, std::size_t, std::less<>> lines;   // its line number
    mutable std::set<std::string, std::less<>> used;         // keys a reader asked for
};

// A line that is not a section line, with the key it sets first in its
// section (empty when it sets none: a remark, a repeated key, no '=').
struct ReadLine {
    PresetLine line;
    std::string first_key;
};

struct Parsed {
    std::map<std::string, Section, std::less<>> sections;
    std::vector<ReadLine> lines;
};

// The lines no reader used, in order.
std::vector<PresetLine> unused_lines(Parsed& parsed) {
    std::vector<PresetLine> unknown;
    for (ReadLine& read : parsed.lines) {
        const Section& section = parsed.sections[read.line.section];
        if (read.first_key.empty() || !section.used.contains(read.first_key))
            unknown.push_back(std::move(read.line));
    }
    return unknown;
}

bool ends_with_bracket(std::string_view line) {
    bool last_is_bracket = false;
    for_each_char(line, [&](std::size_t at, std::size_t size) {
        last_is_bracket = size == 1 && line[at] == ']';
    });
    return last_is_bracket;
}

Parsed parse_lines(std::string_view text) {
    Parsed parsed;
    std::string section;
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        if (line.front() == '[' && ends_with_bracket(line)) {
            section = std::string(line.substr(1, line.size() - 2));
            parsed.sections[section];
            continue;
        }
        ReadLine read{PresetLine{section, std::string(line)}, {}};
        const std::size_t eq = line.find('=');
        Section& s = parsed.sections[section];
        const std::string key(line.substr(0, std::min(eq, line.size())));
        if (eq != std::string_view::npos && line.front() != ';' &&
            s.values.emplace(key, std::string(line.substr(eq + 1))).second) {
            s.lines[key] = number;
            read.first_key = key;
        }
        parsed.lines.push_back(std::move(read));
    }
    return parsed;
}

// Reads the keys of one section; the first problem is kept.
class SectionReader {
public:
    SectionReader(const Section& section, std::string name, std::string& error)
        : section_(section), name_(std::move(name)), error_(error) {}

    // The unescaped value of `utf8_key`, or nullopt when it is absent (or
    // bad, which is then the error).
    std::optional<std::string> text(std::string_view utf8_key) {
        const auto found = section_.values.find(word(utf8_key));
        if (found == section_.values.end()) return std::nullopt;
        section_.used.insert(found->first);
        auto value = unescaped_preset_value(found->second);
        if (!value) fail(utf8_key, found->second);
        return value;
    }

    void text_into(std::string_view utf8_key, std::string& into) {
        if (auto value = text(utf8_key)) into = std::move(*value);
    }

    // A whole number of at most `longest` characters, or empty.
    void number_into(std::string_view utf8_key, std::size_t longest, std::string& into) {
        auto value = text(utf8_key);
        if (!value) return;
        const std::string_view digits =
            std::string_view(*value).substr(value->starts_with('-') ? 1 : 0);
        const bool whole = !digits.empty() &&
                           std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; });
        if (!value->empty() && (!whole || value->size() > longest)) return fail(utf8_key, *value);
        into = std::move(*value);
    }

    template <std::size_t N, class T>
    void choice_into(std::string_view utf8_key, const std::array<Choice, N>& words, T& into) {
        auto value = text(utf8_key);
        if (!value) return;
        if (const auto chosen = value_of(words, *value))
            into = static_cast<T>(*chosen);
        else
            fail(utf8_key, *value);
    }

    void fail(std::string_view utf8_key, std::string_view value) {
        if (!error_.empty()) return;
        const auto line = section_.lines.find(word(utf8_key));
        error_ = say("第", "line ") +
                 std::to_string(line == section_.lines.end() ? 0 : line->second) +
                 say("行：", ": ") + "[" + name_ + "] " + word(utf8_key) +
                 say("的值“", " has the value \"") + std::string(value) +
                 say("”无效", "\", which is not valid");
    }

private:
    const Section& section_;
    std::string name_;
    std::string& error_;
};

void read_number(SectionReader& r, NumberOptions& o) {
    r.choice_into("作用于", number_scope_words, o.scope);
    r.number_into("起始量", 8, o.start);
    r.number_into("增量", 6, o.step);
    r.text_into("文件名前缀", o.prefix);
    r.text_into("主文件名", o.body);
    r.number_into("文件名位数", 3, o.digits);
    r.text_into("文件名后缀", o.suffix);
    r.text_into("扩展名前缀", o.ext_prefix);
    r.text_into("新扩展名", o.ext_body);
    r.number_into("扩展名位数", 3, o.ext_digits);
    r.text_into("扩展名后缀", o.ext_suffix);
}

void read_replace(SectionReader& r, ReplaceOptions& o) {
    r.text_into("查找内容", o.find);
    r.text_into("替换为", o.with);
    r.choice_into("区分大小写", switch_words, o.case_sensitive);
    r.choice_into("正则表达式", switch_words, o.regex);
    r.choice_into("应用于", replace_scope_words, o.scope);
}

void read_insert(SectionReader& r, InsertOptions& o) {
    r.text_into("文件名字符", o.text);
    r.text_into("扩展名字符", o.ext_text);
    r.number_into("文件名位置", 3, o.position);
    r.choice_into("文件名尾", switch_words, o.at_end);
    r.number_into("扩展名位置", 3, o.ext_position);
    r.choice_into("扩展名尾", switch_words, o.ext_at_end);
}

void read_page(SectionReader& r, RulePages& rule) {
    switch (rule.active) {
        case RulePage::number:
            read_number(r, rule.number);
            break;
        case RulePage::replace:
            read_replace(r, rule.replace);
            break;
        case RulePage::insert:
            read_insert(r, rule.insert);
            break;
        case RulePage::letter_case:
            r.choice_into("文件名", case_words, rule.letter_case.name);
            r.choice_into("扩展名", case_words, rule.letter_case.ext);
            break;
        case RulePage::tags:
            r.text_into("命名规则", rule.tags.tag_template);
            r.choice_into("优先", priority_words, rule.tags.v1_first);
            break;
    }
}

std::string missing(const std::string& section, std::string_view utf8_key) {
    return "[" + section + "]" + say("缺少", " lacks ") + word(utf8_key);
}

// The header's step count, or 0 with `error` set.
std::size_t read_header(const Section& header, Preset& preset, std::string& error) {
    SectionReader r(header, header_section(), error);
    std::string version;
    r.number_into("版本", 3, version);
    if (!error.empty()) return 0;
    if (version.empty()) return error = missing(header_section(), "版本"), 0;
    if (std::stoi(version) > preset_version || std::stoi(version) < 1) {
        error = say("预设版本", "preset version ") + version +
                say("不是本程序能读的版本", " is not one this program reads");
        return 0;
    }
    r.choice_into("规则链", switch_words, preset.chain);
    std::string steps = "1";
    r.number_into("步数", 3, steps);
    if (!error.empty()) return 0;
    const int count = steps.empty() ? 0 : std::stoi(steps);
    if (count < 1 || (!preset.chain && count != 1)) {
        r.fail("步数", steps);
        return 0;
    }
    return static_cast<std::size_t>(count);
}

}  // namespace

std::string preset_text(const Preset& preset) {
    Writer w;
    w.section(header_section());
    w.key("版本", std::to_string(preset_version));
    w.key("规则链", word_of(switch_words, preset.chain));
    w.key("步数", std::to_string(preset.steps.size()));
    write_unknown_of(w, preset, header_section());
    std::vector<std::string> written{header_section()};
    for (std::size_t k = 0; k < preset.steps.size(); ++k) {
        written.push_back(step_section(k));
        w.section(written.back());
        write_step(w, preset.steps[k]);
        write_unknown_of(w, preset, written.back());
    }
    for (const PresetLine& line : preset.unknown) {
        if (std::ranges::find(written, line.section) != written.end()) continue;
        written.push_back(line.section);
        if (!line.section.empty()) w.section(line.section);
        write_unknown_of(w, preset, line.section);
    }
    return w.take();
}

PresetRead read_preset_text(std::string_view text) {
    PresetRead read;
    Parsed parsed = parse_lines(text);
    const auto header = parsed.sections.find(header_section());
    if (header == parsed.sections.end()) {
        read.error = say("不是Varnel预设文件（没有[Varnel预设]一节）",
                         "not a Varnel preset (it has no [Varnel预设] section)");
        return read;
    }
    Preset preset;
    const std::size_t count = read_header(header->second, preset, read.error);
    for (std::size_t k = 0; k < count && read.error.empty(); ++k) {
        const std::string name = step_section(k);
        const auto section = parsed.sections.find(name);
        if (section == parsed.sections.end()) {
            read.error = say("缺少", "missing ") + "[" + name + "]";
            break;
        }
        SectionReader r(section->second, name, read.error);
        RuleStep step;
        int page = -1;
        r.choice_into("规则", page_words, page);
        if (!read.error.empty()) break;
        if (page < 0) {
            read.error = missing(name, "规则");
            break;
        }
        step.rule.active = static_cast<RulePage>(page);
        r.choice_into("启用", switch_words, step.enabled);
        read_page(r, step.rule);
        preset.steps.push_back(std::move(step));
    }
    if (!read.error.empty()) return read;
    preset.unknown = unused_lines(parsed);
    read.preset = std::move(preset);
    return read;
}

PresetRead read_preset_file(const std::string& path) {
    const Result<std::string> text = read_file_start(path, longest_preset_file + 1);
    if (!text) {
        PresetRead read;
        read.error = say("无法读取预设文件：", "cannot read the preset file: ") +
                     code_page(system_error_text(text.error().number));
        return read;
    }
    if (text->size() > longest_preset_file) {
        PresetRead read;
        read.error = say("预设文件太大（超过1 MiB）", "the preset file is too large (over 1 MiB)");
        return read;
    }
    return read_preset_text(*text);
}

std::string write_preset_file(const std::string& path, const Preset& preset) {
    const WriteResult written = replace_file_atomically(path, preset_text(preset));
    if (written) return {};
    return say("无法写入预设文件：", "cannot write the preset file: ") +
           code_page(system_error_text(written.error));
}

}  // namespace varnel
