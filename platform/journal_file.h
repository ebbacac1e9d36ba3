// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files that hold a record the program trusts later: created without ever
// following a symbolic link or replacing a foreign file, locked and appended
// to while a batch runs, and read back under the same lock.
//
// The batch that writes a journal holds an exclusive flock(2) on it until
// the journal is closed; whoever wants to undo the journal takes the same
// lock first, so a journal whose writer still runs is never undone, and a
// second batch never replaces a journal that another one is writing.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/result.h"
#include "platform/unique_fd.h"

namespace varnel {

// A journal open for appending, locked for the life of the object.
class JournalFile {
public:
    // Creates the journal at `path` holding `first_line` (with its newline):
    // created exclusively (mode 0600), locked, written and synced. An
    // existing `path` is removed first, and replaced only
    // when it is a regular file of this user that is empty or starts with
    // `own_prefix` and that no running batch holds; a symbolic link or any
    // other file there is refused. nullopt on refusal or failure, with a
    // one-line reason (UTF-8); `busy` tells whether the refusal was a
    // running batch's lock.
    [[nodiscard]] static std::optional<JournalFile> create(const std::string& path,
                                                           std::string_view first_line,
                                                           std::string_view own_prefix,
                                                           std::string& reason,
                                                           bool* busy = nullptr);

    // Writes all of `bytes` at the end.
    [[nodiscard]] Status append(std::string_view bytes);
    // Forces what was appended to the disk.
    [[nodiscard]] Status sync();

private:
    explicit JournalFile(int fd) : fd_(fd) {}
    UniqueFd fd_;
};

// A journal's contents, read under the lock.
struct TrustedRead {
    std::optional<std::string> bytes;
    std::string reason;  // one line (UTF-8) when `bytes` is nullopt
    // The journal may be written by users other than this one (group or
    // others have write permission, as everywhere on a FAT or exFAT stick,
    // or it belongs to another user and is writable by everyone). The
    // caller trusts it only for files that every such user may rename
    // anyway (see HeldJournal::open_as_journal).
    bool others_may_write = false;
};

// A journal claimed for reading and undo: holds the exclusive lock until
// destroyed.
class HeldJournal {
public:
    enum class State : unsigned char {
        held,     // locked by this process
        busy,     // another process holds its lock: its batch still runs
        missing,  // no file at the path
        refused,  // not openable as a journal (see reason)
    };

    // Holds nothing (state missing).
    HeldJournal() = default;
    // Opens `path` (never following a symbolic link, never waiting for a
    // FIFO) and takes the lock without waiting.
    [[nodiscard]] static HeldJournal claim(const std::string& path);

    [[nodiscard]] State state() const { return state_; }
    [[nodiscard]] const std::string& reason() const { return reason_; }

    // The whole file when it is a regular file of at most `max_size` bytes
    // that belongs to this user or that everyone may write; otherwise
    // nullopt with a reason. Only for a held journal.
    [[nodiscard]] TrustedRead read(std::size_t max_size) const;

    // True when the folder `fs_folder` lies on the journal's file system and
    // every user may rename files in it (writable by others and without the
    // sticky bit): whoever could have written the journal could have renamed
    // the folder's files directly.
    [[nodiscard]] bool open_as_journal(const std::string& fs_folder) const;

    // Removes the journal while it is held; true when it is gone.
    [[nodiscard]] bool remove();

private:
    UniqueFd fd_;
    State state_ = State::missing;
    std::string path_;
    std::string reason_;
};

// "<boot id><TAB><pid>": which boot of the machine and which process wrote
// a journal, for its first line.
[[nodiscard]] std::string journal_writer_stamp();

// Removes the file at `path` (not following a symbolic link); ok when it
// is gone (or was never there), else why not.
[[nodiscard]] Status remove_named_file(const std::string& path);
// remove_named_file for callers that need no reason: true when it is gone.
[[nodiscard]] bool remove_file(const std::string& path);

}  // namespace varnel
