// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dir_handle.h"

#include "platform/eintr.h"
#include "platform/file_id.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace varnel {

namespace {

std::optional<DirHandle> open_with(const std::string& folder, int flags,
                                   std::optional<DirHandle> (*make)(int)) {
    // c_str() would cut the path at an embedded NUL and open another folder.
    if (folder.find('\0') != std::string::npos) return std::nullopt;
    const int fd =
        retry_on_eintr([&] { return ::open(folder.c_str(), flags | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0) return std::nullopt;
    return make(fd);
}

}  // namespace

std::optional<DirHandle> DirHandle::open(const std::string& folder) {
    return open_with(folder, O_RDONLY, [](int fd) { return std::optional(DirHandle(fd)); });
}

std::optional<DirHandle> DirHandle::open_path(const std::string& folder) {
    return open_with(folder, O_PATH, [](int fd) { return std::optional(DirHandle(fd)); });
}

DirHandle::DirHandle(int fd) : fd_(fd), lasting_inodes_(inode_numbers_last(fd)) {}

}  // namespace varnel
