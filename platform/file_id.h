#pragma once
// Identity of a file on disk: the device and inode of a directory entry,
// without following a symbolic link.

#include <cstdint>
#include <optional>
#include <string>

namespace varnel {

struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

// The identity of entry `name` in the open folder `dir_fd`; nullopt when it
// does not exist or cannot be examined.
std::optional<FileId> file_id_at(int dir_fd, const std::string& name);

}  // namespace varnel
