// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's private folder of tag-edit records, <state folder>/tag-recovery/
// (state_folder.h): mode 0700, its records 0600. Only a folder and files
// that belong to this user and that nobody else may write are used; a
// symbolic link in their place is refused. Every call that fails gives the
// errno value of the failure, and leaves it in `errno` as well.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_file.h"
#include "platform/unique_fd.h"

namespace varnel {

class RecoveryFolder {
public:
    // The folder, made (with the state folder) where missing when `create`.
    // ENOENT when it is missing (and not to be made), EPERM when it is not
    // a folder of this user alone.
    [[nodiscard]] static Result<RecoveryFolder> open(bool create);
    RecoveryFolder(RecoveryFolder&& other) noexcept = default;
    RecoveryFolder& operator=(RecoveryFolder&&) = delete;
    RecoveryFolder(const RecoveryFolder&) = delete;

    // The content of record `name`: ENOENT when there is none, EPERM when
    // it is not a regular file of this user that only this user may write.
    [[nodiscard]] Result<std::string> read(const std::string& name) const;
    // Creates record `name` (mode 0600, never replacing one) holding
    // `bytes`, and syncs it, which commits its name too.
    [[nodiscard]] Status write(const std::string& name, std::string_view bytes) const;
    // Ok when record `name` is gone (or was never there).
    [[nodiscard]] Status remove(const std::string& name) const;
    // A new file `name` for reading and writing (mode 0600, never replacing one).
    [[nodiscard]] Result<ByteFile> create_file(const std::string& name) const;
    // Opens file `name` for reading, with the checks of read().
    [[nodiscard]] Result<ByteFile> open_file(const std::string& name) const;
    // The folder's device: a file there can be renamed only within it.
    [[nodiscard]] std::uint64_t device() const { return device_; }

private:
    RecoveryFolder(int fd, std::uint64_t device) : fd_(fd), device_(device) {}
    UniqueFd fd_;
    std::uint64_t device_ = 0;
};

}  // namespace varnel
