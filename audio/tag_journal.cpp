// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/tag_journal.h"

#include <algorithm>
#include <cerrno>
#include <sstream>

#include "id3/id3v2_reader.h"
#include "id3/safe_rewrite.h"
#include "platform/error_text.h"
#include "platform/language.h"
#include "platform/sha256.h"
#include "platform/state_folder.h"
#include "platform/tag_file_io.h"

namespace varnel {

namespace {

constexpr std::string_view first_word = "varnel-tag-journal 1";
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
std::optional<std::string> audio_digest(ByteFile& file, std::uint64_t start, std::uint64_t length) {
    const std::uint64_t sample = std::min(length, sampled_audio);
    const std::optional<std::string> first = file.bytes_at(start, sample);
    const std::optional<std::string> last = file.bytes_at(start + length - sample, sample);
    if (!first || !last) return std::nullopt;
    const Sha256Digest digest = sha256(*first + *last);
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
};

std::vector<std::string> fields_of(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    return fields;
}

std::optional<std::vector<Entry>> parse_entries(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string line;
    if (!std::getline(in, line) || line.compare(0, first_word.size(), first_word) != 0)
        return std::nullopt;
    std::vector<Entry> entries;
    while (std::getline(in, line)) {
        if (in.eof()) break;  // a last line without its newline was cut by a kill
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
        } else if (f.size() == 6 && f[0] == "D") {
            // The last file recorded under that path: files are recorded
            // in groups before any of them is written.
            const std::optional<std::string> path = unhex(f[1]);
            const auto entry = std::find_if(entries.rbegin(), entries.rend(), [&](const Entry& e) {
                return path && e.path == *path;
            });
            if (entry == entries.rend()) return std::nullopt;
            entry->written = FileInfo{std::stoull(f[2]), std::stoull(f[3]), 0, std::stoull(f[4]),
                                      std::stoll(f[5])};
        } else {
            return std::nullopt;
        }
    }
    return entries;
}

TagUndoOutcome refused(const Entry& entry, std::string reason) {
    return {entry.path, false, std::move(reason)};
}

// Puts the old tag regions of one recorded file back.
TagUndoOutcome undo_entry(const Entry& entry) {
    std::optional<ByteFile> file = open_regular_file(entry.path, true);
    if (!file) return refused(entry, system_error_text(errno));
    const std::optional<FileInfo> written = file_info(*file);
    if (!written) return refused(entry, system_error_text(errno));
    if (entry.written &&
        (written->device != entry.written->device || written->inode != entry.written->inode ||
         written->size != entry.written->size || written->mtime_ns != entry.written->mtime_ns))
        return refused(
            entry, say("文件在标签写入之后被改动过", "The file changed after its tag was written"));
    // A write cut short by a kill is finished first, as the next edit would
    // (after the check above: finishing it may touch the file again).
    if (!recover_file_edit(*file, entry.path)) return refused(entry, system_error_text(errno));
    const std::optional<FileInfo> info = file_info(*file);
    if (!info) return refused(entry, system_error_text(errno));
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
        audio_digest(*file, head, entry.audio_length) != entry.digest)
        return refused(
            entry, say("文件的音频不是记录时的音频", "The file's audio is not the recorded audio"));
    FileEdit edit;
    edit.cut = head;
    edit.head = entry.old_head;
    if (tail > 0 || !entry.old_tail.empty()) {
        edit.tail_from = info->size - tail;
        edit.tail = entry.old_tail;
    }
    if (!commit_file_edit(*file, entry.path, edit)) return refused(entry, system_error_text(errno));
    return {entry.path, true, {}};
}

}  // namespace

std::optional<std::string> tag_journal_path() {
    const std::optional<std::string> folder = user_state_folder();
    if (!folder) return std::nullopt;
    return *folder + "tag-undo.journal";
}

std::optional<TagJournal> TagJournal::create(const std::string& path, std::string& reason) {
    std::string why;
    std::optional<JournalFile> file = JournalFile::create(
        path, std::string(first_word) + "\t" + journal_writer_stamp() + "\n", first_word, why);
    if (!file) {
        reason = say("不能建立标签撤消记录：", "Cannot create the tag undo journal: ") + why;
        return std::nullopt;
    }
    return TagJournal(std::move(*file));
}

int TagJournal::record(const std::string& path, ByteFile& file, std::uint64_t head,
                       std::uint64_t tail, std::optional<std::uint64_t> new_head,
                       std::uint64_t new_tail) {
    const std::optional<std::uint64_t> size = file.length();
    if (!size) return errno;
    if (head + tail > *size) return EINVAL;
    const std::optional<std::string> old_head = file.bytes_at(0, head);
    const std::optional<std::string> old_tail = file.bytes_at(*size - tail, tail);
    const std::uint64_t audio = *size - head - tail;
    const std::optional<std::string> digest = audio_digest(file, head, audio);
    if (!old_head || !old_tail || !digest) return errno != 0 ? errno : EIO;
    const std::string line = "F\t" + hex(path) + "\t" + hex(*old_head) + "\t" + hex(*old_tail) +
                             "\t" + std::to_string(audio) + "\t" + *digest + "\t" +
                             (new_head ? std::to_string(*new_head) : std::string("-")) + "\t" +
                             std::to_string(new_tail) + "\n";
    return file_.append(line);
}

int TagJournal::record_written(const std::string& path, ByteFile& file) {
    const std::optional<FileInfo> info = file_info(file);
    if (!info) return errno;
    const std::string line = "D\t" + hex(path) + "\t" + std::to_string(info->device) + "\t" +
                             std::to_string(info->inode) + "\t" + std::to_string(info->size) +
                             "\t" + std::to_string(info->mtime_ns) + "\n";
    return file_.append(line);
}

int TagJournal::sync() {
    return file_.sync();
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
    const TrustedRead read = held.read(largest_journal);
    if (!read.bytes || read.others_may_write) {
        reason = say("标签撤消记录不可信", "The tag undo journal cannot be trusted");
        return std::nullopt;
    }
    std::optional<std::vector<Entry>> entries;
    try {
        entries = parse_entries(*read.bytes);
    } catch (const std::exception&) {  // a number out of range: damaged
        entries.reset();
    }
    if (!entries) {
        reason = say("标签撤消记录已损坏", "The tag undo journal is damaged");
        return std::nullopt;
    }
    std::vector<TagUndoOutcome> outcomes;
    bool all_old = true;
    for (auto entry = entries->rbegin(); entry != entries->rend(); ++entry) {
        outcomes.push_back(undo_entry(*entry));
        all_old = all_old && outcomes.back().reason.empty();
    }
    // A journal that stays after all is only offered again; nothing is lost.
    if (all_old) (void)held.remove();
    return outcomes;
}

}  // namespace varnel
