// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/undo_journal.h"

#include <charconv>
#include <string_view>

namespace varnel {

namespace {

constexpr std::string_view journal_header = "varnel-undo-journal 2\n";
constexpr std::string_view journal_prefix = "varnel-undo-journal ";
constexpr std::size_t field_count = 12;

void escape_to(std::string& out, std::string_view bytes) {
    static constexpr char hex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '%') {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 0xF];
        } else {
            out += c;
        }
    }
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = hex_value(text[i + 1]);
        const int low = hex_value(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

template <typename Number>
void number_to(std::string& out, Number value) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
}

// A decimal number that fits `Number`; nullopt for anything else.
template <typename Number>
std::optional<Number> parse_number(std::string_view text) {
    Number value{};
    if (text.empty() || text.front() == '+') return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// "seconds.nanoseconds"
bool parse_time(std::string_view text, std::int64_t& sec, std::uint32_t& nsec) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) return false;
    const auto s = parse_number<std::int64_t>(text.substr(0, dot));
    const auto n = parse_number<std::uint32_t>(text.substr(dot + 1));
    if (!s || !n || *n >= 1'000'000'000U) return false;
    sec = *s;
    nsec = *n;
    return true;
}

std::vector<std::string_view> split(std::string_view line) {
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
}

std::optional<UndoEntry> parse_entry(const std::vector<std::string_view>& f) {
    if (f.size() != field_count) return std::nullopt;
    UndoEntry entry;
    std::string* texts[] = {&entry.fs_folder, &entry.folder_text,     &entry.fs_name,
                            &entry.name,      &entry.renamed_fs_name, &entry.new_name};
    for (std::size_t i = 0; i < 6; ++i) {
        auto text = unescape(f[i]);
        if (!text) return std::nullopt;
        *texts[i] = std::move(*text);
    }
    FileId& id = entry.file;
    const auto device = parse_number<std::uint64_t>(f[6]);
    const auto inode = parse_number<std::uint64_t>(f[7]);
    const auto size = parse_number<std::uint64_t>(f[10]);
    if (!device || !inode || !size || (f[11] != "0" && f[11] != "1")) return std::nullopt;
    id.device = *device;
    id.inode = *inode;
    id.size = *size;
    id.lasting_inode = f[11] == "1";
    id.has_birth = f[8] != "-";
    if (id.has_birth && !parse_time(f[8], id.birth_sec, id.birth_nsec)) return std::nullopt;
    if (!parse_time(f[9], id.mtime_sec, id.mtime_nsec)) return std::nullopt;
    return entry;
}

// Applies one line after the header; false when it is malformed.
bool take_line(std::string_view line, UndoJournalContents& journal, std::vector<char>& failed) {
    if (journal.finished) return false;  // nothing follows the end
    if (line == "end") {
        journal.finished = true;
        return true;
    }
    const auto fields = split(line);
    if (fields.size() == 2 && fields[0] == "failed") {
        const auto index = parse_number<std::size_t>(fields[1]);
        if (!index || *index >= failed.size()) return false;
        failed[*index] = 1;
        return true;
    }
    auto entry = parse_entry(fields);
    if (!entry) return false;
    journal.entries.push_back(std::move(*entry));
    failed.push_back(0);
    return true;
}

}  // namespace

std::string journal_line(const UndoEntry& entry) {
    std::string out;
    for (const std::string* text : {&entry.fs_folder, &entry.folder_text, &entry.fs_name,
                                    &entry.name, &entry.renamed_fs_name, &entry.new_name}) {
        escape_to(out, *text);
        out += '\t';
    }
    const FileId& id = entry.file;
    number_to(out, id.device);
    out += '\t';
    number_to(out, id.inode);
    out += '\t';
    if (id.has_birth) {
        number_to(out, id.birth_sec);
        out += '.';
        number_to(out, id.birth_nsec);
    } else {
        out += '-';
    }
    out += '\t';
    number_to(out, id.mtime_sec);
    out += '.';
    number_to(out, id.mtime_nsec);
    out += '\t';
    number_to(out, id.size);
    out += id.lasting_inode ? "\t1\n" : "\t0\n";
    return out;
}

std::optional<UndoJournalWriter> UndoJournalWriter::create(const std::string& path,
                                                           std::string& reason) {
    auto file = JournalFile::create(path, journal_header, journal_prefix, reason);
    if (!file) return std::nullopt;
    return UndoJournalWriter(std::move(*file));
}

int UndoJournalWriter::record(std::span<const UndoEntry> entries) {
    if (broken_ != 0 || entries.empty()) return broken_;
    line_.clear();
    for (const UndoEntry& entry : entries) line_ += journal_line(entry);
    broken_ = file_.append(line_);
    unsynced_ += entries.size();
    if (broken_ == 0 && unsynced_ >= sync_every) {
        unsynced_ = 0;
        broken_ = file_.sync();
    }
    return broken_;
}

void UndoJournalWriter::failed(std::size_t index) {
    if (broken_ != 0) return;
    std::string line = "failed\t";
    number_to(line, index);
    line += '\n';
    broken_ = file_.append(line);
}

int UndoJournalWriter::finish() {
    if (broken_ == 0) broken_ = file_.append("end\n");
    if (broken_ == 0) broken_ = file_.sync();
    return broken_;
}

UndoJournalRead read_undo_journal(const std::string& path) {
    TrustedRead read = read_trusted_file(path, journal_max_size);
    if (!read.bytes) return {std::nullopt, std::move(read.reason)};
    std::string_view rest = *read.bytes;
    if (!rest.starts_with(journal_header)) return {std::nullopt, path + " is not an undo journal"};
    rest.remove_prefix(journal_header.size());
    UndoJournalContents journal;
    std::vector<char> failed;
    std::size_t line_number = 1;
    while (!rest.empty()) {
        ++line_number;
        const std::size_t newline = rest.find('\n');
        const std::size_t length = newline == std::string_view::npos ? rest.size() : newline;
        if (length > journal_max_line)
            return {std::nullopt, path + ": line " + std::to_string(line_number) + " is too long"};
        // A last line without its newline was cut short by a crash: ignored.
        if (newline == std::string_view::npos) break;
        if (!take_line(rest.substr(0, length), journal, failed))
            return {std::nullopt, path + ": line " + std::to_string(line_number) + " is malformed"};
        rest.remove_prefix(length + 1);
    }
    std::vector<UndoEntry> kept;
    kept.reserve(journal.entries.size());
    for (std::size_t i = 0; i < journal.entries.size(); ++i)
        if (!failed[i]) kept.push_back(std::move(journal.entries[i]));
    journal.entries = std::move(kept);
    return {std::move(journal), {}};
}

}  // namespace varnel
