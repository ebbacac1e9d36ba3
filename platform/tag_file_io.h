// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system calls of the MP3 tag edits: opening regular files only,
// positioned reads and writes, copies, locks, and the side files a
// crash-safe edit keeps in the file's folder. Every call that fails gives
// the errno value of the failure, and leaves it in `errno` as well.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_file.h"
#include "platform/error_text.h"
#include "platform/file_id.h"
#include "platform/unique_fd.h"

namespace varnel {

// Opens `path` for reading (or reading and writing) when it is a regular
// file: opened without blocking (a FIFO or a device never waits), then
// checked with fstat. The failure otherwise (EISDIR for a folder, ENODEV
// for anything else that is not a regular file).
[[nodiscard]] Result<ByteFile> open_regular_file(const std::string& path, bool write);

// Copies the bytes of `from` from `offset` to its end into `to` from
// `to_offset`, in the kernel where it can, starting the writeback of each
// piece at once. Neither file position moves.
[[nodiscard]] Status copy_to_end(const ByteFile& from, std::uint64_t offset, const ByteFile& to,
                                 std::uint64_t to_offset);

// Gives `to` the owner and group of `from` where permitted, its extended
// attributes where the file systems allow, then its permission bits
// (set-id and sticky bits included). Fails on any other error.
[[nodiscard]] Status copy_metadata(const ByteFile& from, const ByteFile& to);

// Identity and size of an open file.
struct FileInfo {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t links = 0;
    std::uint64_t size = 0;
    std::int64_t mtime_ns = 0;  // last modification, nanoseconds since the epoch
};
[[nodiscard]] Result<FileInfo> file_info(const ByteFile& file);

// Takes the exclusive advisory lock of the open file, waiting for it up
// to `wait_ms` milliseconds; ok without a lock on a file system that has
// none. EWOULDBLOCK when another holds it longer.
[[nodiscard]] Status lock_file(const ByteFile& file, int wait_ms);

// `bytes` random bytes as lower-case hex digits (twice as many).
[[nodiscard]] std::string random_hex(std::size_t bytes);

// The extended attribute `name` (e.g. "user.x") of the open file: its
// value; ENODATA when the file has none, ENOTSUP where the file system has
// no such attributes, another errno value on other errors.
[[nodiscard]] Result<std::string> read_attribute(const ByteFile& file, const char* name);
// Creates or replaces attribute `name`.
[[nodiscard]] Status write_attribute(const ByteFile& file, const char* name,
                                     std::string_view value);
// Removes attribute `name`; ok when it is gone (or was never there).
[[nodiscard]] Status remove_attribute(const ByteFile& file, const char* name);

// The time now, nanoseconds since the epoch; never earlier than the change
// time the file system gives a file changed before the call.
[[nodiscard]] std::int64_t time_now();

// Where a file lives once symbolic links are followed: `folder` ends in '/'.
struct FileLocation {
    std::string folder;
    std::string name;
};
[[nodiscard]] Result<FileLocation> locate_file(const std::string& path);

// An open folder and the entries of the side files kept in it.
class SideFolder {
public:
    [[nodiscard]] static Result<SideFolder> open(const std::string& folder);
    SideFolder(SideFolder&& other) noexcept = default;
    SideFolder& operator=(SideFolder&&) = delete;
    SideFolder(const SideFolder&) = delete;

    // A new file (read and write, mode 0600) without a name (O_TMPFILE);
    // EOPNOTSUPP where the file system has none.
    [[nodiscard]] Result<ByteFile> create_nameless() const;
    // The new file `name` (read and write, mode 0600, never replacing one).
    [[nodiscard]] Result<ByteFile> create_named(const std::string& name) const;
    // Gives the nameless file `file` the name `name` (never replacing one).
    [[nodiscard]] Status link_file(const ByteFile& file, const std::string& name) const;
    // Renames entry `from` over entry `to`.
    [[nodiscard]] Status rename_over(const std::string& from, const std::string& to) const;
    [[nodiscard]] Status remove(const std::string& name) const;
    // Syncs the folder, so that its entries survive a crash.
    [[nodiscard]] Status sync() const;
    // Opens entry `name` (a regular file, links not followed).
    [[nodiscard]] Result<ByteFile> open_entry(const std::string& name, bool write) const;
    // Removes entry `name` when it is a regular file of this user other
    // than inode `keep` (links not followed); ok when it is gone or was
    // never there, EPERM when it is something else, or why it cannot be
    // removed.
    [[nodiscard]] Status remove_own_file(const std::string& name, std::uint64_t keep) const;
    // The identity of entry `name`; nullopt when it does not exist or
    // cannot be examined.
    [[nodiscard]] std::optional<FileId> entry_id(const std::string& name) const;

private:
    explicit SideFolder(int fd) : fd_(fd) {}
    UniqueFd fd_;
};

}  // namespace varnel
