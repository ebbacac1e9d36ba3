// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An open file descriptor owned by one object: closed when it goes away,
// moved but never copied, and read and written only through its members.

#include <cstddef>
#include <cstdint>

#include "platform/result.h"

namespace varnel {

class UniqueFd {
public:
    UniqueFd() = default;
    // Takes ownership of `fd` (a negative value owns nothing).
    explicit UniqueFd(int fd) noexcept : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept;
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    [[nodiscard]] bool valid() const { return fd_ >= 0; }
    // The descriptor, for the system calls of platform/ (still owned).
    [[nodiscard]] int get() const { return fd_; }

    // Reads up to `size` bytes at `offset`; fewer only where the file ends.
    // The file position does not move. errno is also left set on failure.
    [[nodiscard]] Result<std::size_t> read_at(void* buffer, std::size_t size,
                                              std::uint64_t offset) const;
    // Writes all `size` bytes at `offset` (a write of nothing fails with
    // ENOSPC). The file position does not move.
    [[nodiscard]] Status write_at(const void* buffer, std::size_t size, std::uint64_t offset) const;
    // Flushes data and metadata (sync) or the data and size (sync_data).
    [[nodiscard]] Status sync() const;
    [[nodiscard]] Status sync_data() const;

private:
    int fd_ = -1;
};

}  // namespace varnel
