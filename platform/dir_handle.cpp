#include "platform/dir_handle.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace varnel {

std::optional<DirHandle> DirHandle::open(const std::string& folder) {
    // c_str() would cut the path at an embedded NUL and open another folder.
    if (folder.find('\0') != std::string::npos) return std::nullopt;
    int fd;
    do {
        fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return std::nullopt;
    return DirHandle(fd);
}

DirHandle::DirHandle(DirHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

DirHandle& DirHandle::operator=(DirHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

DirHandle::~DirHandle() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace varnel
