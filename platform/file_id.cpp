#include "platform/file_id.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace varnel {

std::optional<FileId> file_id_at(int dir_fd, const std::string& name) {
    // c_str() would silently cut a name at an embedded NUL and examine
    // another entry.
    if (name.find('\0') != std::string::npos) return std::nullopt;
    struct stat info {};
    if (fstatat(dir_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return FileId{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace varnel
