// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An open folder, for the *at() family of calls.

#include <optional>
#include <string>

#include "platform/result.h"
#include "platform/unique_fd.h"

namespace varnel {

class DirHandle {
public:
    // Opens `folder` (file-system bytes, with or without a trailing '/').
    [[nodiscard]] static Result<DirHandle> open(const std::string& folder);
    // Opens `folder` as a path only (O_PATH): enough for renaming and
    // examining its entries, and possible in a folder the user may write and
    // search but not read (mode 0300). Cannot list or sync the folder.
    [[nodiscard]] static Result<DirHandle> open_path(const std::string& folder);

    // The descriptor, for the system calls of platform/ (still owned).
    [[nodiscard]] int fd() const { return fd_.get(); }
    // What inode_numbers_last (platform/file_id.h) says of the folder.
    [[nodiscard]] bool lasting_inodes() const { return lasting_inodes_; }

private:
    explicit DirHandle(int fd);
    UniqueFd fd_;
    bool lasting_inodes_ = true;
};

}  // namespace varnel
