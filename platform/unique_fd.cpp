// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/unique_fd.h"

#include <sys/types.h>
#include <unistd.h>

#include <limits>
#include <utility>

#include "platform/eintr.h"
#include "platform/error_text.h"

namespace varnel {
namespace {

// Whether every offset of [offset, offset + size) fits off_t.
bool addressable(std::uint64_t offset, std::size_t size) {
    constexpr auto largest = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
    return offset <= largest && size <= largest - offset;
}

}  // namespace

std::string SystemError::text() const {
    if (context.empty()) return system_error_text(number);
    return context + ": " + system_error_text(number);
}

UniqueFd::UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
}

Result<std::size_t> UniqueFd::read_at(void* buffer, std::size_t size, std::uint64_t offset) const {
    if (!addressable(offset, size)) {
        errno = EFBIG;
        return last_error("read");
    }
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = retry_on_eintr([&] {
            return ::pread(fd_, bytes + done, size - done, static_cast<off_t>(offset + done));
        });
        if (count < 0) return last_error("read");
        if (count == 0) break;
        done += static_cast<std::size_t>(count);
    }
    return done;
}

Status UniqueFd::write_at(const void* buffer, std::size_t size, std::uint64_t offset) const {
    if (!addressable(offset, size)) {
        errno = EFBIG;
        return last_error("write");
    }
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = retry_on_eintr([&] {
            return ::pwrite(fd_, bytes + done, size - done, static_cast<off_t>(offset + done));
        });
        if (count == 0) errno = ENOSPC;  // zero bytes without an error would loop forever
        if (count <= 0) return last_error("write");
        done += static_cast<std::size_t>(count);
    }
    return {};
}

Status UniqueFd::sync() const {
    if (retry_on_eintr([&] { return ::fsync(fd_); }) != 0) return last_error("fsync");
    return {};
}

Status UniqueFd::sync_data() const {
    if (retry_on_eintr([&] { return ::fdatasync(fd_); }) != 0) return last_error("fdatasync");
    return {};
}

}  // namespace varnel
