// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files that hold a record the program trusts later: created without ever
// following a symbolic link or replacing a foreign file, appended to and
// synced while a batch runs, and read back only when nobody else could
// have written them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

// A journal open for appending.
class JournalFile {
public:
    // Creates the journal at `path` holding `first_line` (with its newline):
    // written to a unique temporary in the same folder (mode 0600), synced,
    // and then renamed to `path`. An existing `path` is replaced only when
    // it is a regular file of this user that is empty or starts with
    // `own_prefix`; a symbolic link or any other file there is refused.
    // nullopt on refusal or failure, with a one-line reason (UTF-8).
    static std::optional<JournalFile> create(const std::string& path, std::string_view first_line,
                                             std::string_view own_prefix, std::string& reason);

    JournalFile(JournalFile&& other) noexcept;
    JournalFile& operator=(JournalFile&& other) noexcept;
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;
    ~JournalFile();

    // Writes all of `bytes` at the end. 0 or an errno value.
    int append(std::string_view bytes);
    // Forces what was appended to the disk. 0 or an errno value.
    int sync();

private:
    explicit JournalFile(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// A file read only when it can be trusted: a regular file (not a symbolic
// link, FIFO or device), owned by this user, not writable by group or
// others, at most `max_size` bytes. `bytes` is nullopt on refusal, with a
// one-line reason (UTF-8).
struct TrustedRead {
    std::optional<std::string> bytes;
    std::string reason;
};
TrustedRead read_trusted_file(const std::string& path, std::size_t max_size);

// Removes the file at `path` (not following a symbolic link); true when it
// is gone.
bool remove_file(const std::string& path);

}  // namespace varnel
