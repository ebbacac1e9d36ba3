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
// "varnel-tag-journal 1<TAB><writer stamp>"; per file
// "F<TAB>path<TAB>old head<TAB>old tail<TAB>audio length<TAB>audio digest
// <TAB>new head length or -<TAB>new tail length" (path and bytes in hex),
// and, once it is written, "D<TAB>path<TAB>device<TAB>inode<TAB>size<TAB>
// mtime ns" (a group of files is recorded before any of them is written).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/byte_file.h"
#include "platform/journal_file.h"

namespace varnel {

// $XDG_STATE_HOME/varnel/tag-undo.journal (the folder made 0700 when
// missing); nullopt without a home folder.
[[nodiscard]] std::optional<std::string> tag_journal_path();

class TagJournal {
public:
    // Starts a new journal at `path` (replacing the last one, as rename
    // journals are replaced); nullopt with a reason (code page).
    static std::optional<TagJournal> create(const std::string& path, std::string& reason);

    // Records the file at `path` (open as `file`) before its write: its
    // first `head` and last `tail` bytes are tag regions; the write will
    // make them `new_head` (nullopt: not known before, the ID3v2 tag's
    // length decides) and `new_tail` bytes long. Appended, not synced: call
    // sync() before writing the file. 0 or an errno value.
    [[nodiscard]] int record(const std::string& path, ByteFile& file, std::uint64_t head,
                             std::uint64_t tail, std::optional<std::uint64_t> new_head,
                             std::uint64_t new_tail);
    // Records that the file recorded at `path` was written; `file` is open on it.
    [[nodiscard]] int record_written(const std::string& path, ByteFile& file);
    // Forces the records to the disk. 0 or an errno value.
    [[nodiscard]] int sync();

private:
    explicit TagJournal(JournalFile file) : file_(std::move(file)) {}
    JournalFile file_;
};

struct TagUndoOutcome {
    std::string path;  // file-system bytes
    bool restored = false;
    std::string reason;  // when not restored (code page); empty when it already held its old tag
};

// Undoes the journal at `path`: every file in reverse order. A file is
// refused when it changed since its write (identity, size or modification
// time differ) or, for a file whose write the journal did not see end,
// when its audio is not the recorded audio. The journal is removed when
// every file holds its old tag again. nullopt with a reason when the
// journal cannot be read or trusted (another user may write it).
[[nodiscard]] std::optional<std::vector<TagUndoOutcome>> undo_tag_journal(const std::string& path,
                                                                          std::string& reason);

}  // namespace varnel
