#include "rename/undo_journal.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

namespace varnel {

namespace {

constexpr std::string_view journal_header = "varnel-undo-journal 1";
constexpr std::size_t field_count = 11;

std::string escape(std::string_view bytes) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
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
    return out;
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

std::optional<std::vector<std::string>> split_fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        auto field = unescape(std::string_view(line).substr(start, tab - start));
        if (!field) return std::nullopt;
        fields.push_back(std::move(*field));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    if (fields.size() != field_count) return std::nullopt;
    return fields;
}

std::optional<std::uint64_t> parse_number(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoull(text);
}

void write_line(std::ostream& out, const FileList& list, const UndoLog& log, int row) {
    const auto r = static_cast<std::size_t>(row);
    const ItemFolder& folder = list.item_folder(row);
    const UndoEntry empty;
    const UndoEntry& entry = r < log.entries.size() ? log.entries[r] : empty;
    out << escape(folder.fs) << '\t' << escape(folder.text) << '\t' << escape(list.fs_name(row))
        << '\t' << escape(list.old_names()[r]) << '\t' << escape(entry.name) << '\t'
        << escape(entry.fs_name) << '\t' << escape(entry.fs_folder) << '\t'
        << escape(entry.renamed_fs_name) << '\t' << entry.file.device << '\t' << entry.file.inode
        << '\t' << (entry.is_empty() ? '0' : '1') << '\n';
}

// Adds one journal line to the list and the log; rows of one folder that
// follow each other are added together, as one add operation would.
bool add_line(const std::vector<std::string>& f, UndoJournal& journal,
              std::vector<ItemName>& pending, ItemFolder& pending_folder) {
    const auto device = parse_number(f[8]);
    const auto inode = parse_number(f[9]);
    if (!device || !inode || (f[10] != "0" && f[10] != "1")) return false;
    if (!pending.empty() && pending_folder.fs != f[0]) {
        journal.list.append_items(pending_folder, std::move(pending));
        pending.clear();
    }
    pending_folder = ItemFolder{f[1], f[0]};
    pending.push_back(ItemName{f[3], f[2]});
    UndoEntry entry;
    if (f[10] == "1") entry = UndoEntry{f[4], f[5], f[6], f[7], FileId{*device, *inode}};
    journal.log.entries.push_back(std::move(entry));
    return true;
}

}  // namespace

bool write_undo_journal(const std::string& path, const FileList& list, const UndoLog& log) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << journal_header << '\n';
        for (int row = 0; row < list.item_count(); ++row) write_line(out, list, log, row);
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

std::optional<UndoJournal> read_undo_journal(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != journal_header) return std::nullopt;
    UndoJournal journal;
    journal.log.entries.clear();
    std::vector<ItemName> pending;
    ItemFolder pending_folder;
    while (std::getline(in, line)) {
        const auto fields = split_fields(line);
        if (!fields || !add_line(*fields, journal, pending, pending_folder)) return std::nullopt;
    }
    if (!pending.empty()) journal.list.append_items(pending_folder, std::move(pending));
    if (journal.log.entries.size() < initial_undo_entries)
        journal.log.entries.resize(initial_undo_entries);
    return journal;
}

}  // namespace varnel
