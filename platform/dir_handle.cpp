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

// The descriptor of `folder` opened with `flags`.
Result<int> open_folder(const std::string& folder, int flags) {
    // c_str() would cut the path at an embedded NUL and open another folder.
    if (folder.find('\0') != std::string::npos) return SystemError{EINVAL, "open folder"};
    const int fd =
        retry_on_eintr([&] { return ::open(folder.c_str(), flags | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0) return last_error("open folder");
    return fd;
}

}  // namespace

Result<DirHandle> DirHandle::open(const std::string& folder) {
    const Result<int> fd = open_folder(folder, O_RDONLY);
    if (!fd) return fd.error();
    return DirHandle(*fd);
}

Result<DirHandle> DirHandle::open_path(const std::string& folder) {
    const Result<int> fd = open_folder(folder, O_PATH);
    if (!fd) return fd.error();
    return DirHandle(*fd);
}

DirHandle::DirHandle(int fd) : fd_(fd), lasting_inodes_(inode_numbers_last(fd)) {}

}  // namespace varnel
