#pragma once
// An open folder, for the *at() family of calls.

#include <optional>
#include <string>

namespace varnel {

class DirHandle {
public:
    // Opens `folder` (file-system bytes, with or without a trailing '/').
    static std::optional<DirHandle> open(const std::string& folder);

    DirHandle(DirHandle&& other) noexcept;
    DirHandle& operator=(DirHandle&& other) noexcept;
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;
    ~DirHandle();

    int fd() const { return fd_; }

private:
    explicit DirHandle(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace varnel
