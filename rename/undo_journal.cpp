// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/undo_journal.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <string_view>

#include "platform/file_id.h"

namespace varnel {

namespace {

constexpr int journal_version = 4;
constexpr std::string_view journal_header = "varnel-undo-journal 4\t";
constexpr std::string_view journal_prefix = "varnel-undo-journal ";
// The version before the checksum went word by word; read, never written.
constexpr std::string_view journal_header_3 = "varnel-undo-journal 3\t";
constexpr std::size_t field_count = 14;

// Bytes below 0x20, 0x7F and '%' become %XX; runs of other bytes are
// appended whole, as names mostly are.
void escape_to(std::string& out, std::string_view bytes) {
    static constexpr char hex[] = "0123456789ABCDEF";
    const auto escaped = [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F || c == '%';
    };
    while (!bytes.empty()) {
        const auto run = std::find_if(bytes.begin(), bytes.end(), escaped);
        out.append(bytes.begin(), run);
        if (run == bytes.end()) return;
        const auto b = static_cast<unsigned char>(*run);
        const char code[] = {'%', hex[b >> 4], hex[b & 0xF]};
        out.append(code, sizeof code);
        bytes.remove_prefix(static_cast<std::size_t>(run - bytes.begin()) + 1);
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
    if (f[13] != "move" && f[13] != "swap") return std::nullopt;
    entry.exchange = f[13] == "swap";
    id.has_fingerprint = f[12] != "-";
    if (id.has_fingerprint) {
        const auto [end, error] =
            std::from_chars(f[12].data(), f[12].data() + f[12].size(), id.fingerprint, 16);
        if (error != std::errc() || end != f[12].data() + f[12].size() || f[12].size() != 16)
            return std::nullopt;
    }
    return entry;
}

// What the lines read so far say.
struct ParsedLines {
    UndoJournalContents journal;
    std::vector<std::size_t> failed;  // indices of the "failed" lines, in order
};

// Applies one line after the header; false when it is malformed.
bool take_line(std::string_view line, ParsedLines& parsed) {
    UndoJournalContents& journal = parsed.journal;
    if (journal.finished) return false;  // nothing follows the end
    if (line == "end") {
        journal.finished = true;
        return true;
    }
    const auto fields = split(line);
    if (fields.size() == 3 && fields[0] == "reserve") {
        const auto index = parse_number<std::size_t>(fields[1]);
        auto name = unescape(fields[2]);
        if (!index || *index >= journal.entries.size() || !name || name->empty()) return false;
        journal.reservations.push_back(Reservation{*index, std::move(*name)});
        return true;
    }
    if (fields.size() == 2 && fields[0] == "failed") {
        const auto index = parse_number<std::size_t>(fields[1]);
        if (!index || *index >= journal.entries.size()) return false;
        parsed.failed.push_back(*index);
        return true;
    }
    auto entry = parse_entry(fields);
    if (!entry) return false;
    journal.entries.push_back(std::move(*entry));
    return true;
}

}  // namespace

namespace {

// The first two fields of an entry's line, each followed by its TAB.
void folder_fields_to(std::string& out, const UndoEntry& entry) {
    escape_to(out, entry.fs_folder);
    out += '\t';
    escape_to(out, entry.folder_text);
    out += '\t';
}

// The other fields of an entry's line, with the newline.
void file_fields_to(std::string& out, const UndoEntry& entry) {
    for (const std::string* text :
         {&entry.fs_name, &entry.name, &entry.renamed_fs_name, &entry.new_name}) {
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
    out += id.lasting_inode ? "\t1\t" : "\t0\t";
    if (id.has_fingerprint) {
        char buffer[17];
        const auto end = std::to_chars(buffer, buffer + 16, id.fingerprint, 16).ptr;
        out.append(static_cast<std::size_t>(16 - (end - buffer)), '0');
        out.append(buffer, end);
    } else {
        out += '-';
    }
    out += entry.exchange ? "\tswap\n" : "\tmove\n";
}

}  // namespace

std::string journal_line(const UndoEntry& entry) {
    std::string out;
    folder_fields_to(out, entry);
    file_fields_to(out, entry);
    return out;
}

namespace {

std::uint64_t mix_word(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0x9E3779B97F4A7C15ULL;
    return hash ^ (hash >> 32);
}

std::uint64_t little_endian_word(const char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
}

}  // namespace

JournalSum::JournalSum(int version) : version_(version) {}

void JournalSum::add(std::string_view bytes) {
    if (version_ == 3) {
        for (const char c : bytes) {
            hash_ ^= static_cast<unsigned char>(c);
            hash_ *= 0x100000001B3ULL;
        }
        return;
    }
    if (bytes.empty()) return;
    length_ += bytes.size();
    if (pending_size_ > 0) {
        const std::size_t taken = std::min(sizeof pending_ - pending_size_, bytes.size());
        std::memcpy(pending_ + pending_size_, bytes.data(), taken);
        pending_size_ += taken;
        bytes.remove_prefix(taken);
        if (pending_size_ < sizeof pending_) return;
        hash_ = mix_word(hash_, little_endian_word(pending_));
        pending_size_ = 0;
    }
    for (; bytes.size() >= 8; bytes.remove_prefix(8))
        hash_ = mix_word(hash_, little_endian_word(bytes.data()));
    std::memcpy(pending_, bytes.data(), bytes.size());  // not null: not empty before
    pending_size_ = bytes.size();
}

std::uint64_t JournalSum::value() const {
    if (version_ == 3) return hash_;
    std::uint64_t hash = hash_;
    if (pending_size_ > 0) {
        char last[8] = {};
        std::memcpy(last, pending_, pending_size_);
        hash = mix_word(hash, little_endian_word(last));
    }
    return mix_word(hash, length_);
}

namespace {

void sum_line_to(std::string& out, std::uint64_t hash) {
    char buffer[17];
    const auto end = std::to_chars(buffer, buffer + 16, hash, 16).ptr;
    out += "sum\t";
    out.append(static_cast<std::size_t>(16 - (end - buffer)), '0');
    out.append(buffer, end);
    out += '\n';
}

}  // namespace

std::optional<UndoJournalWriter> UndoJournalWriter::create(const std::string& path,
                                                           std::string& reason, bool* busy) {
    std::string first(journal_header);
    first += journal_writer_stamp();
    first += '\n';
    JournalSum sum(journal_version);
    sum.add(first);
    const std::size_t sum_at = first.size();
    sum_line_to(first, sum.value());
    sum.add(std::string_view(first).substr(sum_at));
    auto file = JournalFile::create(path, first, journal_prefix, reason, busy);
    if (!file) return std::nullopt;
    return UndoJournalWriter(std::move(*file), sum);
}

Status UndoJournalWriter::write_line() {
    sum_.add(line_);
    const std::size_t sum_at = line_.size();
    sum_line_to(line_, sum_.value());
    sum_.add(std::string_view(line_).substr(sum_at));
    if (const Status appended = file_.append(line_); !appended)
        return SystemError{appended.error().number, "write the undo journal"};
    return {};
}

Status UndoJournalWriter::record(std::span<const UndoEntry> entries) {
    if (!broken_ || entries.empty()) return broken_;
    line_.clear();
    for (const UndoEntry& entry : entries) {
        // A batch's entries mostly share a folder: its fields are escaped
        // once.
        if (entry.fs_folder != fs_folder_ || entry.folder_text != folder_text_ ||
            folder_fields_.empty()) {
            fs_folder_ = entry.fs_folder;
            folder_text_ = entry.folder_text;
            folder_fields_.clear();
            folder_fields_to(folder_fields_, entry);
        }
        line_ += folder_fields_;
        file_fields_to(line_, entry);
    }
    broken_ = write_line();
    unsynced_ += entries.size();
    if (broken_ && unsynced_ >= sync_every) {
        unsynced_ = 0;
        broken_ = sync_file();
    }
    return broken_;
}

Status UndoJournalWriter::reserve(std::size_t index, std::string_view fs_name) {
    if (!broken_) return broken_;
    line_ = "reserve\t";
    number_to(line_, index);
    line_ += '\t';
    escape_to(line_, fs_name);
    line_ += '\n';
    broken_ = write_line();
    return broken_;
}

void UndoJournalWriter::failed(std::size_t index) {
    if (!broken_) return;
    line_ = "failed\t";
    number_to(line_, index);
    line_ += '\n';
    broken_ = write_line();
}

Status UndoJournalWriter::finish() {
    line_ = "end\n";
    if (broken_) broken_ = write_line();
    if (broken_) broken_ = sync_file();
    return broken_;
}

Status UndoJournalWriter::sync_file() {
    if (const Status synced = file_.sync(); !synced)
        return SystemError{synced.error().number, "sync the undo journal"};
    return {};
}

namespace {

// Every line between the header and the last sum, checked against its sums.
UndoJournalRead parse_lines(const std::string& path, std::string_view text) {
    const std::size_t header_end = text.find('\n');
    const bool version_3 = text.starts_with(journal_header_3);
    if ((!text.starts_with(journal_header) && !version_3) || header_end == std::string_view::npos)
        return {std::nullopt, path + " is not an undo journal"};
    ParsedLines parsed;
    // How much of `parsed` the last sum covers.
    std::size_t summed_entries = 0;
    std::size_t summed_reservations = 0;
    std::size_t summed_failed = 0;
    bool summed_finished = false;
    JournalSum sum(version_3 ? 3 : journal_version);
    sum.add(text.substr(0, header_end + 1));
    std::string_view rest = text.substr(header_end + 1);
    std::size_t line_number = 1;
    const auto malformed = [&] {
        return UndoJournalRead{std::nullopt,
                               path + ": line " + std::to_string(line_number) + " is malformed"};
    };
    while (!rest.empty()) {
        ++line_number;
        const std::size_t newline = rest.find('\n');
        const std::size_t length = newline == std::string_view::npos ? rest.size() : newline;
        if (length > journal_max_line)
            return {std::nullopt, path + ": line " + std::to_string(line_number) + " is too long"};
        // A last line without its newline was cut short by a crash.
        if (newline == std::string_view::npos) break;
        const std::string_view line = rest.substr(0, length);
        if (line.starts_with("sum\t")) {
            std::uint64_t written = 0;
            const auto [end, error] =
                std::from_chars(line.data() + 4, line.data() + line.size(), written, 16);
            if (error != std::errc() || end != line.data() + line.size() || written != sum.value())
                return {std::nullopt, path + ": line " + std::to_string(line_number) +
                                          " does not match its checksum"};
            summed_entries = parsed.journal.entries.size();
            summed_reservations = parsed.journal.reservations.size();
            summed_failed = parsed.failed.size();
            summed_finished = parsed.journal.finished;
        } else if (!take_line(line, parsed)) {
            return malformed();
        }
        sum.add(rest.substr(0, length + 1));
        rest.remove_prefix(length + 1);
    }
    UndoJournalContents& journal = parsed.journal;
    journal.entries.resize(summed_entries);
    journal.reservations.resize(summed_reservations);
    journal.finished = summed_finished;
    std::vector<char> failed(summed_entries, 0);
    for (std::size_t i = 0; i < summed_failed; ++i)
        if (parsed.failed[i] < summed_entries) failed[parsed.failed[i]] = 1;
    // Failed renames are no entries; reservations follow their entries.
    std::vector<std::size_t> kept_index(journal.entries.size(), static_cast<std::size_t>(-1));
    std::vector<UndoEntry> kept;
    kept.reserve(journal.entries.size());
    for (std::size_t i = 0; i < journal.entries.size(); ++i) {
        if (failed[i]) continue;
        kept_index[i] = kept.size();
        kept.push_back(std::move(journal.entries[i]));
    }
    std::vector<Reservation> reservations;
    for (Reservation& r : journal.reservations)
        if (r.entry < summed_entries && kept_index[r.entry] != static_cast<std::size_t>(-1))
            reservations.push_back(Reservation{kept_index[r.entry], std::move(r.fs_name)});
    journal.entries = std::move(kept);
    journal.reservations = std::move(reservations);
    return {std::move(journal), {}};
}

}  // namespace

UndoJournalRead parse_undo_journal(const std::string& path, const TrustedRead& read,
                                   const HeldJournal& held) {
    if (!read.bytes) return {std::nullopt, read.reason};
    UndoJournalRead parsed = parse_lines(path, *read.bytes);
    if (!parsed.journal || !read.others_may_write) return parsed;
    // Anyone may have written it: trusted only for folders where anyone may
    // rename the files anyway.
    std::string_view checked;
    for (const UndoEntry& entry : parsed.journal->entries) {
        if (entry.fs_folder == checked) continue;
        if (!held.open_as_journal(entry.fs_folder))
            return {std::nullopt, path + " can be written by other users, and names files in " +
                                      entry.fs_folder +
                                      ", which is not a folder on its drive that everyone may "
                                      "change"};
        checked = entry.fs_folder;
    }
    return parsed;
}

ClaimedJournal claim_undo_journal(const std::string& path) {
    ClaimedJournal claimed;
    claimed.held = HeldJournal::claim(path);
    switch (claimed.held.state()) {
        case HeldJournal::State::missing:
            return claimed;
        case HeldJournal::State::busy:
            claimed.state = JournalState::busy;
            claimed.reason = claimed.held.reason();
            return claimed;
        case HeldJournal::State::refused:
            claimed.state = JournalState::refused;
            claimed.reason = claimed.held.reason();
            return claimed;
        case HeldJournal::State::held:
            break;
    }
    UndoJournalRead read =
        parse_undo_journal(path, claimed.held.read(journal_max_size), claimed.held);
    if (!read.journal) {
        claimed.state = JournalState::refused;
        claimed.reason = std::move(read.reason);
        return claimed;
    }
    claimed.contents = std::move(*read.journal);
    claimed.state = claimed.contents.finished ? JournalState::finished : JournalState::interrupted;
    return claimed;
}

UndoJournalRead read_undo_journal(const std::string& path) {
    ClaimedJournal claimed = claim_undo_journal(path);
    if (claimed.state == JournalState::finished || claimed.state == JournalState::interrupted)
        return {std::move(claimed.contents), {}};
    if (claimed.state == JournalState::none) return {std::nullopt, claimed.held.reason()};
    return {std::nullopt, std::move(claimed.reason)};
}

}  // namespace varnel
