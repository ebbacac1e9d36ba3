// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo journal: a rename batch's undo log kept in a file and written
// ahead of the renames, so that the batch can be undone in a later run or
// after the program was killed in the middle of it.
//
// Format: the line "varnel-undo-journal 4<TAB>boot id<TAB>pid" (the writer,
// see journal_writer_stamp), then for every rename, written before the
// rename is attempted, a line of fourteen TAB-separated fields: folder
// (file-system), folder (text), name before (file-system), name before
// (text), name after (file-system), name after (text), device, inode, birth
// time ("-" where unknown, else seconds.nanoseconds), modification time
// (seconds.nanoseconds), size, "1" when inode numbers last across mounts
// ("0" otherwise), the content fingerprint ("-" where none, else 16 hex
// digits), and "move" or "swap" (UndoEntry::exchange). A rename about to claim a name on its way
// (see Reservation) adds "reserve<TAB>N<TAB>name" first; a rename that then fails adds the line
// "failed<TAB>N" (N counts the rename lines from 0); a batch that ran to its
// end adds the line "end". Every write ends in the line "sum<TAB>H": H is
// the JournalSum (16 hex digits) of every byte of the file before that
// line; lines after the last sum (a write cut short) are not read. Bytes
// below 0x20, 0x7F and '%' are written as %XX. Journals of version 3 (the
// same lines, summed by FNV-1a byte by byte) are read as well.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/journal_file.h"
#include "platform/result.h"
#include "rename/undo_log.h"

namespace varnel {

inline constexpr std::size_t journal_max_line = 65536;
inline constexpr std::size_t journal_max_size = std::size_t{1} << 31;

// The checksum of a journal's sum lines, fed its bytes in pieces of any
// size. Version 4: the bytes as little-endian 64-bit words, each mixed in by
// h = (h ^ word) * 0x9E3779B97F4A7C15, h ^= h >> 32, from h =
// 0xCBF29CE484222325; the value mixes in the last word zero-padded (when
// bytes are left over) and then the byte count. Each step is one-to-one in
// h and in the word, so two texts of one length that differ within one
// word never share a sum. Version 3: FNV-1a, byte by byte (several times
// the work).
class JournalSum {
public:
    explicit JournalSum(int version);
    void add(std::string_view bytes);
    // The sum of every byte added so far.
    [[nodiscard]] std::uint64_t value() const;

private:
    int version_;
    std::uint64_t hash_ = 0xCBF29CE484222325ULL;
    std::uint64_t length_ = 0;
    char pending_[8] = {};  // bytes of a word not yet complete
    std::size_t pending_size_ = 0;
};

// Writes a journal while a batch runs, holding its lock.
class UndoJournalWriter {
public:
    // Creates the journal (see JournalFile::create); nullopt with a reason,
    // and `busy` set when another batch holds the journal at `path`.
    [[nodiscard]] static std::optional<UndoJournalWriter> create(const std::string& path,
                                                                 std::string& reason,
                                                                 bool* busy = nullptr);

    // Appends the entries of the next renames; synced to disk once
    // `sync_every` entries have gathered. After a failure nothing more is
    // written and every later call fails with the same error.
    [[nodiscard]] Status record(std::span<const UndoEntry> entries);
    // The rename of entry `index` (counting from 0) is about to claim the
    // name `fs_name` (on a failure the claim must not be made).
    [[nodiscard]] Status reserve(std::size_t index, std::string_view fs_name);
    // The rename of entry `index` (counting from 0) failed.
    void failed(std::size_t index);
    // The batch ran to its end.
    [[nodiscard]] Status finish();

    static constexpr std::size_t sync_every = 2048;

private:
    explicit UndoJournalWriter(JournalFile file, JournalSum sum)
        : file_(std::move(file)), sum_(sum) {}
    // Appends `line_` and its sum line.
    [[nodiscard]] Status write_line();
    [[nodiscard]] Status sync_file();
    JournalFile file_;
    JournalSum sum_;
    std::size_t unsynced_ = 0;
    Status broken_;
    std::string line_;
    std::string fs_folder_;      // the folder of the last entry written
    std::string folder_text_;    // its text
    std::string folder_fields_;  // both as written
};

// One line of the journal for `entry` (ending in a newline).
[[nodiscard]] std::string journal_line(const UndoEntry& entry);

struct UndoJournalContents {
    std::vector<UndoEntry> entries;         // renames that may have happened, in order
    std::vector<Reservation> reservations;  // by index into `entries`
    bool finished = false;                  // the batch ran to its end
};

struct UndoJournalRead {
    std::optional<UndoJournalContents> journal;
    std::string reason;  // one line (UTF-8) when `journal` is nullopt
};

// Parses and checks journal text read from `path` (named in reasons).
[[nodiscard]] UndoJournalRead parse_undo_journal(const std::string& path, const TrustedRead& read,
                                                 const HeldJournal& held);

// What undo may do with the journal at a path.
enum class JournalState : unsigned char {
    none,         // there is no journal
    busy,         // another process runs its batch: never undo it now
    refused,      // unreadable or not to be trusted (see reason)
    interrupted,  // its writer is gone before the batch's end: undo may run
    finished,     // the batch ran to its end
};

// A journal claimed for undo: while the object lives, no other process can
// start undoing or rewriting it.
struct ClaimedJournal {
    JournalState state = JournalState::none;
    HeldJournal held;
    UndoJournalContents contents;
    std::string reason;  // one line (UTF-8) for busy and refused
};

// Claims and reads the journal at `path`. A journal that others may write
// (a FAT or exFAT stick) is trusted only when every folder it names passes
// HeldJournal::open_as_journal; every journal must hold only lines this
// program writes, with matching sums.
[[nodiscard]] ClaimedJournal claim_undo_journal(const std::string& path);

// claim_undo_journal without keeping the claim: the contents, or nullopt
// with the reason (busy or refused).
[[nodiscard]] UndoJournalRead read_undo_journal(const std::string& path);

}  // namespace varnel
