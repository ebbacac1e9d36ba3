#pragma once
// Positioned reads and writes on a raw descriptor that never move its file
// position, retrying after signals and short transfers.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace varnel {

// Reads up to `size` bytes at `offset`; fewer only where the file ends.
// nullopt on error.
std::optional<std::size_t> read_at(int fd, void* buffer, std::size_t size, std::uint64_t offset);

// Writes all `size` bytes at `offset`; false on any error (disk full included).
bool write_at(int fd, const void* buffer, std::size_t size, std::uint64_t offset);

}  // namespace varnel
