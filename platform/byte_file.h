// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Byte-level access to one file, every call reporting failure.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace varnel {

class ByteFile {
public:
    // `path` is file-system bytes. nullopt when the file cannot be opened
    // (open_read_write never creates a file).
    static std::optional<ByteFile> open_read(const std::string& path);
    static std::optional<ByteFile> open_read_write(const std::string& path);

    // Takes ownership of the open descriptor `fd`.
    static ByteFile adopt(int fd) { return ByteFile(fd); }

    ByteFile(ByteFile&& other) noexcept;
    ByteFile& operator=(ByteFile&& other) noexcept;
    ByteFile(const ByteFile&) = delete;
    ByteFile& operator=(const ByteFile&) = delete;
    ~ByteFile();

    // Current length in bytes; nullopt on error.
    std::optional<std::uint64_t> length() const;
    // Moves the position to `offset` bytes from the start.
    bool seek(std::uint64_t offset);
    // Reads up to `size` bytes; fewer only at the end of the file. nullopt on error.
    std::optional<std::size_t> read(void* buffer, std::size_t size);
    // Reads exactly `size` bytes; false on error or when the file ends first.
    bool read_exact(void* buffer, std::size_t size);
    // Writes all `size` bytes at the position; false on any error (disk full included).
    bool write(const void* buffer, std::size_t size);
    // Cuts or extends the file to `size` bytes.
    bool truncate(std::uint64_t size);
    // Flushes data and metadata to the disk.
    bool sync();

    int fd() const { return fd_; }

private:
    explicit ByteFile(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace varnel
