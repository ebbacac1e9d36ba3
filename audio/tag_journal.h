// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo journal of batch tag edits: before a file's first write the
// old bytes of its tag regions (never the audio) are appended and synced;
// after the write, the file's identity, size and modification time. Undo
// puts every tag region back byte for byte, each in one crash-safe step.
//
// The regions: the bytes before the audio (MP3: the ID3v2 tag with its
// padding; FLAC and others rewritten at the front: everything before the
// first byte TagLib's rewrite left alone) and the bytes after it (APE tags
// and others rewritten at the end). The audio between them is recognised
// by its length and the SHA-256 of its first and last 64 KiB.
//
// File format (text, one record a line): a first line
// "varnel-tag-journal 2<TAB><writer stamp>"; per file
// "F<TAB>path<TAB>old head<TAB>old tail<TAB>audio length<TAB>audio digest
// <TAB>new head length or -<TAB>new tail length" (path and bytes in hex),
// and, once it is written, "D<TAB>path<TAB>device<TAB>inode<TAB>size<TAB>
// mtime ns<TAB>SHA-256 of the tag regions then (hex)" (a group of files is
// recorded before any of them is written);
// the line "E" once the batch ended. Journals of version 1 (without the
// end line) are read as ended.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/byte_file.h"
#include "platform/journal_file.h"

namespace varnel {

// A new path for the journal of a batch starting now, in the folder of the
// automatic journals (platform/journal_store.h: "<stamp>.tags.journal",
// made 0700 when missing); the oldest journals beyond the kept number are
// pruned first, to leave room for it. nullopt when that folder cannot be
// made or trusted.
[[nodiscard]] std::optional<std::string> tag_journal_path();

// Where earlier versions kept their one tag journal,
// $XDG_STATE_HOME/varnel/tag-undo.journal; read and undone still, never
// written. nullopt without a home folder.
[[nodiscard]] std::optional<std::string> old_tag_journal_path();

class TagJournal {
public:
    // Starts a new journal at `path` (replacing an old journal of ours that
    // no batch holds); nullopt with a reason (code page).
    static std::optional<TagJournal> create(const std::string& path, std::string& reason);
    TagJournal(TagJournal&& other) noexcept;
    TagJournal& operator=(TagJournal&& other) noexcept;
    TagJournal(const TagJournal&) = delete;
    TagJournal& operator=(const TagJournal&) = delete;
    // Ends the journal (see finish) unless that was done: a batch that
    // stops for any reason but the death of its process has ended.
    ~TagJournal();

    // Each call below fails with the errno value and, as the context, what
    // the journal was doing in words for people (code page), so that
    // SystemError::text() names both.

    // Records the file at `path` (open as `file`) before its write: its
    // first `head` and last `tail` bytes are tag regions; the write will
    // make them `new_head` (nullopt: not known before, the ID3v2 tag's
    // length decides) and `new_tail` bytes long. Appended, not synced: call
    // sync() before writing the file. EINVAL when the regions overlap, EBADF
    // after finish().
    [[nodiscard]] Status record(const std::string& path, ByteFile& file, std::uint64_t head,
                                std::uint64_t tail, std::optional<std::uint64_t> new_head,
                                std::uint64_t new_tail);
    // Records that the file recorded at `path` was written; `file` is open on it.
    [[nodiscard]] Status record_written(const std::string& path, ByteFile& file);
    // Forces the records to the disk.
    [[nodiscard]] Status sync();
    // The batch ended: the end line is written and synced; a journal that
    // recorded no file is removed instead (nothing to undo). Later records
    // fail (EBADF), and so does a second finish().
    [[nodiscard]] Status finish();

private:
    TagJournal(JournalFile file, std::string path)
        : file_(std::move(file)), path_(std::move(path)) {}
    JournalFile file_;
    std::string path_;
    // Per path recorded: the audio's length and the tail the write will leave.
    struct Planned {
        std::uint64_t audio = 0;
        std::uint64_t tail = 0;
    };
    std::unordered_map<std::string, Planned> planned_;
    bool open_ = true;
    bool recorded_ = false;  // a file was recorded
};

// What a tag journal holds, for a history.
struct TagJournalSummary {
    enum class State : unsigned char { ended, interrupted, busy, refused };
    State state = State::refused;
    std::vector<std::string> paths;  // the files recorded, file-system bytes, each once
    std::string reason;              // why refused (code page)
};

// Reads the journal at `path` under its lock: busy while its batch runs;
// interrupted when it has no end line (its process died); refused, with
// the reason, when it cannot be read or trusted.
[[nodiscard]] TagJournalSummary read_tag_journal(const std::string& path);

struct TagUndoOutcome {
    std::string path;  // file-system bytes
    bool restored = false;
    std::string reason;  // when not restored (code page); empty when it already held its old tag
};

// Undoes the journal at `path`: every file in reverse order. A file is
// refused when it changed since its write (identity, size or modification
// time differ, and its tag regions are not the bytes the write left) or, for a file whose write the
// journal did not see end, when its audio is not the recorded audio. When every file holds its old
// tag again, a journal of the automatic folder is marked undone
// (mark_journal_undone) and any other is removed. nullopt with a reason when the
// journal cannot be read or trusted (another user may write it).
[[nodiscard]] std::optional<std::vector<TagUndoOutcome>> undo_tag_journal(const std::string& path,
                                                                          std::string& reason);

}  // namespace varnel
