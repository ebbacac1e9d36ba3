// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/tag_journal.h"

#include <algorithm>
#include <cerrno>
#include <sstream>
#include <utility>

#include "id3/id3v2_reader.h"
#include "id3/safe_rewrite.h"
#include "platform/error_text.h"
#include "platform/journal_folder.h"
#include "platform/journal_store.h"
#include "platform/language.h"
#include "platform/sha256.h"
#include "platform/state_folder.h"
#include "platform/tag_file_io.h"

namespace varnel {

namespace {

constexpr std::string_view first_word = "varnel-tag-journal 2";
constexpr std::string_view own_prefix = "varnel-tag-journal ";  // of every version
constexpr std::string_view first_word_1 = "varnel-tag-journal 1";
constexpr std::uint64_t sampled_audio = 64 * 1024;
constexpr std::size_t largest_journal = std::size_t{1} << 30;

std::string hex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        text += digits[static_cast<unsigned char>(c) >> 4];
        text += digits[static_cast<unsigned char>(c) & 0xF];
    }
    return text;
}

std::optional<std::string> unhex(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    const auto value = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = value(text[i]);
        const int low = value(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

// SHA-256 of the first and last 64 KiB of the audio at [start, start + length).
Result<std::string> audio_digest(ByteFile& file, std::uint64_t start, std::uint64_t length) {
    const std::uint64_t sample = std::min(length, sampled_audio);
    const Result<std::string> first = file.read_bytes(start, sample);
    if (!first) return first.error();
    const Result<std::string> last = file.read_bytes(start + length - sample, sample);
    if (!last) return last.error();
    const Sha256Digest digest = sha256(*first + *last);
    return hex(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

// SHA-256 of the tag regions of a file of `size` bytes whose audio is
// `audio` bytes long followed by `tail` bytes: the bytes before the audio
// and the last `tail` bytes.
std::optional<std::string> tags_digest(ByteFile& file, std::uint64_t size, std::uint64_t audio,
                                       std::uint64_t tail) {
    if (audio + tail > size) return std::nullopt;
    const std::optional<std::string> head = file.bytes_at(0, size - audio - tail);
    const std::optional<std::string> end = file.bytes_at(size - tail, tail);
    if (!head || !end) return std::nullopt;
    const Sha256Digest digest = sha256(*head + *end);
    return hex(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

struct Entry {
    std::string path;
    std::string old_head;
    std::string old_tail;
    std::uint64_t audio_length = 0;
    std::string digest;
    std::optional<std::uint64_t> new_head;
    std::uint64_t new_tail = 0;
    std::optional<FileInfo> written;  // identity, size and time after the write
    std::string written_tags;         // digest of the tag regions after it (see tags_digest)
};

std::vector<std::string> fields_of(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    return fields;
}

struct ParsedJournal {
    std::vector<Entry> entries;
    bool ended = false;
};

std::optional<ParsedJournal> parse_entries(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    ParsedJournal parsed;
    bool end_line = false;
    if (line.starts_with(first_word_1))
        parsed.ended = true;  // that version wrote no end: every batch counts as ended
    else if (!line.starts_with(first_word))
        return std::nullopt;
    std::vector<Entry>& entries = parsed.entries;
    while (std::getline(in, line)) {
        if (in.eof()) break;                // a last line without its newline was cut by a kill
        if (end_line) return std::nullopt;  // nothing follows the end
        if (line == "E") {
            end_line = parsed.ended = true;
            continue;
        }
        const std::vector<std::string> f = fields_of(line);
        if (f.size() == 8 && f[0] == "F") {
            Entry e;
            std::optional<std::string> path = unhex(f[1]);
            std::optional<std::string> head = unhex(f[2]);
            std::optional<std::string> tail = unhex(f[3]);
            if (!path || !head || !tail) return std::nullopt;
            e.path = std::move(*path);
            e.old_head = std::move(*head);
            e.old_tail = std::move(*tail);
            e.audio_length = std::stoull(f[4]);
            e.digest = f[5];
            if (f[6] != "-") e.new_head = std::stoull(f[6]);
            e.new_tail = std::stoull(f[7]);
            entries.push_back(std::move(e));
        } else if ((f.size() == 6 || f.size() == 7) && f[0] == "D") {
            // The last file recorded under that path: files are recorded
            // in groups before any of them is written.
            const std::optional<std::string> path = unhex(f[1]);
            const auto entry = std::find_if(entries.rbegin(), entries.rend(), [&](const Entry& e) {
                return path && e.path == *path;
            });
            if (entry == entries.rend()) return std::nullopt;
            entry->written = FileInfo{std::stoull(f[2]), std::stoull(f[3]), 0, std::stoull(f[4]),
                                      std::stoll(f[5])};
            if (f.size() == 7) entry->written_tags = f[6];
        } else {
            return std::nullopt;
        }
    }
    return parsed;
}

TagUndoOutcome refused(const Entry& entry, std::string reason) {
    return {entry.path, false, std::move(reason)};
}

// Puts the old tag regions of one recorded file back.
TagUndoOutcome undo_entry(const Entry& entry) {
    Result<ByteFile> file = open_regular_file(entry.path, true);
    if (!file) return refused(entry, system_error_text(file.error().number));
    const Result<FileInfo> written = file_info(*file);
    if (!written) return refused(entry, system_error_text(written.error().number));
    // The same file as written, or one whose tags are byte for byte what
    // the write left (the undo of a later batch put them back).
    const bool as_written =
        !entry.written ||
        (written->device == entry.written->device && written->inode == entry.written->inode &&
         written->size == entry.written->size && written->mtime_ns == entry.written->mtime_ns) ||
        (!entry.written_tags.empty() && written->size == entry.written->size &&
         tags_digest(*file, written->size, entry.audio_length, entry.new_tail) ==
             entry.written_tags);
    if (!as_written)
        return refused(
            entry, say("文件在标签写入之后被改动过", "The file changed after its tag was written"));
    // A write cut short by a kill is finished first, as the next edit would
    // (after the check above: finishing it may touch the file again).
    if (const Result<Recovery> recovered = recover_file_edit(*file, entry.path); !recovered)
        return refused(entry, system_error_text(recovered.error().number));
    const Result<FileInfo> info = file_info(*file);
    if (!info) return refused(entry, system_error_text(info.error().number));
    const std::uint64_t old_size =
        entry.old_head.size() + entry.audio_length + entry.old_tail.size();
    const auto holds_old = [&] {
        return info->size == old_size &&
               file->bytes_at(0, entry.old_head.size()) == entry.old_head &&
               file->bytes_at(old_size - entry.old_tail.size(), entry.old_tail.size()) ==
                   entry.old_tail;
    };
    if (holds_old()) return {entry.path, false, {}};
    std::uint64_t head = entry.new_head.value_or(0);
    if (!entry.new_head) head = id3v2_tag_length(*file).value_or(0);
    const std::uint64_t tail = entry.new_tail;
    if (head + tail > info->size || info->size - head - tail != entry.audio_length ||
        std::optional<std::string>(audio_digest(*file, head, entry.audio_length)) != entry.digest)
        return refused(
            entry, say("文件的音频不是记录时的音频", "The file's audio is not the recorded audio"));
    FileEdit edit;
    edit.cut = head;
    edit.head = entry.old_head;
    if (tail > 0 || !entry.old_tail.empty()) {
        edit.tail_from = info->size - tail;
        edit.tail = entry.old_tail;
    }
    if (const Status committed = commit_file_edit(*file, entry.path, edit); !committed)
        return refused(entry, system_error_text(committed.error().number));
    return {entry.path, true, {}};
}

}  // namespace

std::optional<std::string> tag_journal_path() {
    const JournalFolder folder = automatic_journal_folder(true);
    if (!folder.path) return std::nullopt;
    prune_journals(*folder.path, kept_journals - 1);
    return new_journal_path(*folder.path, JournalKind::tags);
}

std::optional<std::string> old_tag_journal_path() {
    const std::optional<std::string> folder = state_folder_path();
    if (!folder) return std::nullopt;
    return *folder + "tag-undo.journal";
}

std::optional<TagJournal> TagJournal::create(const std::string& path, std::string& reason) {
    std::string why;
    std::optional<JournalFile> file = JournalFile::create(
        path, std::string(first_word) + "\t" + journal_writer_stamp() + "\n", own_prefix, why);
    if (!file) {
        reason = say("不能建立标签撤消记录：", "Cannot create the tag undo journal: ") + why;
        return std::nullopt;
    }
    return TagJournal(std::move(*file), path);
}

TagJournal::TagJournal(TagJournal&& other) noexcept
    : file_(std::move(other.file_)),
      path_(std::move(other.path_)),
      planned_(std::move(other.planned_)),
      open_(std::exchange(other.open_, false)),
      recorded_(other.recorded_) {}

TagJournal& TagJournal::operator=(TagJournal&& other) noexcept {
    if (this == &other) return *this;
    if (open_) (void)finish();
    file_ = std::move(other.file_);
    path_ = std::move(other.path_);
    planned_ = std::move(other.planned_);
    open_ = std::exchange(other.open_, false);
    recorded_ = other.recorded_;
    return *this;
}

TagJournal::~TagJournal() {
    // Nobody to tell of a failure here: the journal then reads as an
    // interrupted batch, which can still be undone.
    if (open_) (void)finish();
}

namespace {

const std::string& writing_journal() {
    return say("不能写入标签撤消记录", "Cannot write the tag undo journal");
}

// `status` with what the journal was doing as its context.
Status doing(Status status, const std::string& what) {
    if (status) return status;
    return SystemError{status.error().number, what};
}

}  // namespace

Status TagJournal::finish() {
    if (!open_) return SystemError{EBADF, writing_journal()};
    open_ = false;
    if (!recorded_)
        return doing(remove_named_file(path_),
                     say("不能删除空的标签撤消记录", "Cannot remove the empty tag undo journal"));
    if (Status appended = file_.append("E\n"); !appended)
        return doing(std::move(appended), writing_journal());
    return doing(file_.sync(), writing_journal());
}

Status TagJournal::record(const std::string& path, ByteFile& file, std::uint64_t head,
                          std::uint64_t tail, std::optional<std::uint64_t> new_head,
                          std::uint64_t new_tail) {
    if (!open_) return SystemError{EBADF, writing_journal()};
    const std::string& reading =
        say("不能读取文件的标签以记入撤消记录", "Cannot read the file's tags for the undo journal");
    const Result<std::uint64_t> size = file.length();
    if (!size) return SystemError{size.error().number, reading};
    if (head + tail > *size) return SystemError{EINVAL, reading};
    recorded_ = true;
    const Result<std::string> old_head = file.read_bytes(0, head);
    if (!old_head) return SystemError{old_head.error().number, reading};
    const Result<std::string> old_tail = file.read_bytes(*size - tail, tail);
    if (!old_tail) return SystemError{old_tail.error().number, reading};
    const std::uint64_t audio = *size - head - tail;
    planned_[path] = {audio, new_tail};
    const Result<std::string> digest = audio_digest(file, head, audio);
    if (!digest) return SystemError{digest.error().number, reading};
    const std::string line = "F\t" + hex(path) + "\t" + hex(*old_head) + "\t" + hex(*old_tail) +
                             "\t" + std::to_string(audio) + "\t" + *digest + "\t" +
                             (new_head ? std::to_string(*new_head) : std::string("-")) + "\t" +
                             std::to_string(new_tail) + "\n";
    return doing(file_.append(line), writing_journal());
}

Status TagJournal::record_written(const std::string& path, ByteFile& file) {
    if (!open_) return SystemError{EBADF, writing_journal()};
    const Result<FileInfo> info = file_info(file);
    if (!info)
        return SystemError{
            info.error().number,
            say("不能读取写入后的文件状态", "Cannot read the file's state after the write")};
    std::string line = "D\t" + hex(path) + "\t" + std::to_string(info->device) + "\t" +
                       std::to_string(info->inode) + "\t" + std::to_string(info->size) + "\t" +
                       std::to_string(info->mtime_ns);
    if (const auto planned = planned_.find(path); planned != planned_.end())
        if (const std::optional<std::string> tags =
                tags_digest(file, info->size, planned->second.audio, planned->second.tail))
            line += "\t" + *tags;
    line += '\n';
    return doing(file_.append(line), writing_journal());
}

Status TagJournal::sync() {
    return doing(file_.sync(), writing_journal());
}

namespace {

// The entries of a held journal; nullopt with the reason when it cannot be
// read or trusted.
std::optional<ParsedJournal> read_entries(const HeldJournal& held, std::string& reason) {
    const TrustedRead read = held.read(largest_journal);
    if (!read.bytes || read.others_may_write) {
        reason = say("标签撤消记录不可信", "The tag undo journal cannot be trusted");
        return std::nullopt;
    }
    std::optional<ParsedJournal> parsed;
    try {
        parsed = parse_entries(*read.bytes);
    } catch (const std::exception&) {  // a number out of range: damaged
        parsed.reset();
    }
    if (!parsed) reason = say("标签撤消记录已损坏", "The tag undo journal is damaged");
    return parsed;
}

}  // namespace

TagJournalSummary read_tag_journal(const std::string& path) {
    TagJournalSummary summary;
    const HeldJournal held = HeldJournal::claim(path);
    if (held.state() == HeldJournal::State::busy) {
        summary.state = TagJournalSummary::State::busy;
        return summary;
    }
    if (held.state() != HeldJournal::State::held) {
        summary.reason = say("标签撤消记录不可信", "The tag undo journal cannot be trusted");
        return summary;
    }
    const std::optional<ParsedJournal> parsed = read_entries(held, summary.reason);
    if (!parsed) return summary;
    for (const Entry& entry : parsed->entries)
        if (std::find(summary.paths.begin(), summary.paths.end(), entry.path) ==
            summary.paths.end())
            summary.paths.push_back(entry.path);
    summary.state =
        parsed->ended ? TagJournalSummary::State::ended : TagJournalSummary::State::interrupted;
    return summary;
}

std::optional<std::vector<TagUndoOutcome>> undo_tag_journal(const std::string& path,
                                                            std::string& reason) {
    HeldJournal held = HeldJournal::claim(path);
    if (held.state() == HeldJournal::State::busy) {
        reason = say("标签批量编辑仍在进行", "The batch tag edit is still running");
        return std::nullopt;
    }
    if (held.state() != HeldJournal::State::held) {
        reason = say("没有可以撤消的标签编辑", "There is no tag edit to undo");
        return std::nullopt;
    }
    const std::optional<ParsedJournal> parsed = read_entries(held, reason);
    if (!parsed) return std::nullopt;
    const std::vector<Entry>& entries = parsed->entries;
    std::vector<TagUndoOutcome> outcomes;
    bool all_old = true;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        outcomes.push_back(undo_entry(*entry));
        all_old = all_old && outcomes.back().reason.empty();
    }
    // A journal that stays after all is only offered again; nothing is lost.
    if (!all_old) return outcomes;
    if (is_stored_journal_path(path))
        (void)mark_journal_undone(path);  // left unmarked, a second undo finds every tag back
    else
        (void)held.remove();
    return outcomes;
}

}  // namespace varnel
