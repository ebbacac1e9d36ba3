// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile.h"

#include <cerrno>
#include <optional>
#include <vector>

#include "platform/byte_file.h"
#include "platform/code_page_chars.h"

namespace varnel {
namespace {

std::string_view trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

char ascii_lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Only ASCII letters fold: a byte >= 0x80 belongs to a two-byte character.
bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    return true;
}

// One line of a file: its text is [begin, end), without the line break;
// the next line starts at `next` (end + 1 or 2; end itself for a last line
// without a break).
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

std::vector<Line> split_lines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t newline = text.find('\n', begin);
        if (newline == std::string_view::npos) {
            lines.push_back({begin, text.size(), text.size()});
            break;
        }
        const std::size_t end =
            newline > begin && text[newline - 1] == '\r' ? newline - 1 : newline;
        lines.push_back({begin, end, newline + 1});
        begin = newline + 1;
    }
    return lines;
}

enum class LineKind { other, section, key };

struct ParsedLine {
    LineKind kind = LineKind::other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed and unquoted
};

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

ParsedLine parse_line(std::string_view line) {
    const std::string_view text = trim(line);
    if (text.empty() || text.front() == ';') return {};
    if (text.front() == '[') {
        const std::string_view inside = text.substr(1);
        return {LineKind::section, trim(inside.substr(0, inside.find(']'))), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return {};
    return {LineKind::key, trim(text.substr(0, equals)), unquote(trim(text.substr(equals + 1)))};
}

// Where `key` of `section` is in a file: only the first section of that name
// counts, as with private-profile files.
struct KeyLocation {
    std::optional<std::size_t> section;  // its header line
    std::optional<std::size_t> key;      // the key's line
    std::size_t last_key = 0;            // last key line of the section, or its header
    ParsedLine parsed_key;
};

KeyLocation locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                   std::string_view key) {
    KeyLocation location;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed =
            parse_line(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (parsed.kind == LineKind::section) {
            if (location.section) break;
            if (same_name(parsed.name, section)) location.section = location.last_key = i;
            continue;
        }
        if (!location.section || parsed.kind != LineKind::key) continue;
        location.last_key = i;
        if (!location.key && same_name(parsed.name, key)) {
            location.key = i;
            location.parsed_key = parsed;
        }
    }
    return location;
}

// The value as a caller's buffer of profile_buffer_size bytes would hold it.
std::string cut_value(std::string_view value) {
    return std::string(value.substr(0, whole_char_prefix(value, profile_buffer_size - 1)));
}

// A file whose first line ends in CRLF gets CRLF for its new lines too.
std::string_view line_ending(std::string_view text) {
    const std::size_t newline = text.find('\n');
    return newline != std::string_view::npos && newline > 0 && text[newline - 1] == '\r' ? "\r\n"
                                                                                         : "\n";
}

std::string updated_text(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
    const std::vector<Line> lines = split_lines(text);
    const std::string_view eol = line_ending(text);
    const KeyLocation location = locate(text, lines, section, key);
    std::string result;
    if (location.key) {
        // Keep the file's own spelling of the key and the line's own break.
        const Line& line = lines[*location.key];
        result.append(text.substr(0, line.begin));
        result.append(location.parsed_key.name).append("=").append(value);
        result.append(text.substr(line.end));
    } else if (location.section) {
        const Line& anchor = lines[location.last_key];
        result.append(text.substr(0, anchor.next));
        if (anchor.next == anchor.end) result.append(eol);  // last line had no break
        result.append(key).append("=").append(value).append(eol);
        result.append(text.substr(anchor.next));
    } else {
        result.append(text);
        if (!text.empty() && text.back() != '\n') result.append(eol);
        result.append("[").append(section).append("]").append(eol);
        result.append(key).append("=").append(value).append(eol);
    }
    return result;
}

// Names and values that would change the structure of the file when written.
bool writable(std::string_view section, std::string_view key, std::string_view value) {
    const auto has_break = [](std::string_view text) {
        return text.find_first_of("\r\n") != std::string_view::npos;
    };
    const std::string_view name = trim(key);
    return !has_break(section) && !has_break(key) && !has_break(value) &&
           section.find(']') == std::string_view::npos && !name.empty() &&
           name.find('=') == std::string_view::npos && name.front() != '[' && name.front() != ';';
}

}  // namespace

std::string read_profile_string(const std::string& path, std::string_view section,
                                std::string_view key, std::string_view default_value) {
    const Result<std::string> text = read_whole_file(path);
    if (!text) return cut_value(default_value);
    const std::vector<Line> lines = split_lines(*text);
    const KeyLocation location = locate(*text, lines, section, key);
    if (!location.key) return cut_value(default_value);
    return cut_value(location.parsed_key.value);
}

bool write_profile_string(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view value) {
    return static_cast<bool>(write_profile_strings(
        path, {{std::string(section), std::string(key), std::string(value)}}));
}

WriteResult write_profile_strings(const std::string& path,
                                  const std::vector<ProfileEntry>& entries) {
    for (const ProfileEntry& entry : entries)
        if (!writable(entry.section, entry.key, entry.value)) return WriteResult{EINVAL};
    Result<std::string> text = read_whole_file(path);
    if (!text && text.error().number != ENOENT) return WriteResult{text.error().number};
    std::string content = text ? std::move(*text) : std::string();
    for (const ProfileEntry& entry : entries)
        content = updated_text(content, entry.section, entry.key, entry.value);
    return replace_file_atomically(path, content);
}

}  // namespace varnel
