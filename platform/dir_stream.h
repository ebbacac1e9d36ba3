// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder's listing stream (opendir/readdir), for the listing calls of
// platform/.

#include <dirent.h>

namespace varnel {

// Owns a listing stream and closes it, with its descriptor, on every way
// out of the scope that opened it.
class DirStream {
public:
    explicit DirStream(DIR* dir) noexcept : dir_(dir) {}
    ~DirStream() {
        if (dir_) closedir(dir_);
    }
    DirStream(const DirStream&) = delete;
    DirStream& operator=(const DirStream&) = delete;

private:
    DIR* dir_;
};

// Whether the entry name is "." or "..", which every listing leaves out.
[[nodiscard]] inline bool is_dot_or_dot_dot(const char* name) noexcept {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace varnel
