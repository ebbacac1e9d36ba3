// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Byte-level access to one file, every call reporting failure.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/result.h"
#include "platform/unique_fd.h"

namespace varnel {

class ByteFile {
public:
    // `path` is file-system bytes; why the file cannot be opened
    // otherwise (open_read_write never creates a file).
    [[nodiscard]] static Result<ByteFile> open_read(const std::string& path);
    [[nodiscard]] static Result<ByteFile> open_read_write(const std::string& path);

    // Takes ownership of the open descriptor `fd`.
    [[nodiscard]] static ByteFile adopt(int fd) { return ByteFile(fd); }

    // Current length in bytes.
    [[nodiscard]] Result<std::uint64_t> length() const;
    // Moves the position to `offset` bytes from the start.
    [[nodiscard]] bool seek(std::uint64_t offset);
    // Reads up to `size` bytes; fewer only at the end of the file. nullopt on error.
    [[nodiscard]] std::optional<std::size_t> read(void* buffer, std::size_t size);
    // Reads exactly `size` bytes; false on error or when the file ends first.
    [[nodiscard]] bool read_exact(void* buffer, std::size_t size);
    // Writes all `size` bytes at the position; false on any error (disk full included).
    [[nodiscard]] bool write(const void* buffer, std::size_t size);
    // Cuts or extends the file to `size` bytes.
    [[nodiscard]] Status truncate(std::uint64_t size) const;

    // Exactly `size` bytes from `offset`; the read's error, or EIO when the
    // file ends first.
    [[nodiscard]] Result<std::string> read_bytes(std::uint64_t offset, std::size_t size) const;
    // read_bytes for callers that need no reason.
    [[nodiscard]] std::optional<std::string> bytes_at(std::uint64_t offset, std::size_t size) const;

    // Positioned reads and writes and the syncs: see UniqueFd.
    [[nodiscard]] Result<std::size_t> read_at(void* buffer, std::size_t size,
                                              std::uint64_t offset) const {
        return fd_.read_at(buffer, size, offset);
    }
    [[nodiscard]] Status write_at(const void* buffer, std::size_t size,
                                  std::uint64_t offset) const {
        return fd_.write_at(buffer, size, offset);
    }
    // Flushes data and metadata to the disk.
    [[nodiscard]] Status sync() const { return fd_.sync(); }
    [[nodiscard]] Status sync_data() const { return fd_.sync_data(); }

    // The descriptor, for the system calls of platform/ (still owned).
    [[nodiscard]] int fd() const { return fd_.get(); }

private:
    explicit ByteFile(int fd) : fd_(fd) {}
    UniqueFd fd_;
};

// The whole content of the file at `path` (file-system bytes), or why it
// cannot be opened or read (ENOENT when there is none, EISDIR for a folder).
[[nodiscard]] Result<std::string> read_whole_file(const std::string& path);

}  // namespace varnel
