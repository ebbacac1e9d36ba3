// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/recovery_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <utility>

#include "platform/eintr.h"
#include "platform/state_folder.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

constexpr const char* folder_name = "tag-recovery";

int open_at(int dir_fd, const char* name, int flags, mode_t mode = 0) {
    const int fd = retry_on_eintr(
        [&] { return ::openat(dir_fd, name, flags | O_CLOEXEC | O_NOFOLLOW, mode); });
    if (fd < 0 && errno == ELOOP) errno = EPERM;  // a symbolic link in its place
    return fd;
}

// This user's alone: owned by the user, no write bit for group or others.
bool is_private(const struct stat& info) {
    return info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// `fd` when it is a private regular file, else closed.
Result<ByteFile> private_file(int fd) {
    if (fd < 0) return last_error("open record");
    struct stat info {};
    const bool examined = ::fstat(fd, &info) == 0;
    if (!examined || !S_ISREG(info.st_mode) || !is_private(info)) {
        const int error = examined ? EPERM : errno;
        ::close(fd);
        errno = error;
        return last_error("open record");
    }
    return ByteFile::adopt(fd);
}

}  // namespace

Result<RecoveryFolder> RecoveryFolder::open(bool create) {
    const std::optional<std::string> state = create ? user_state_folder() : state_folder_path();
    if (!state) return last_error("state folder");
    const int base = open_at(AT_FDCWD, state->c_str(), O_RDONLY | O_DIRECTORY);
    if (base < 0) return last_error("open state folder");
    if (create && ::mkdirat(base, folder_name, 0700) != 0 && errno != EEXIST) {
        const SystemError error = last_error("mkdir tag-recovery");
        ::close(base);
        return error;
    }
    const int fd = open_at(base, folder_name, O_RDONLY | O_DIRECTORY | O_NONBLOCK);
    const SystemError open_error = last_error("open tag-recovery");
    ::close(base);
    if (fd < 0) {
        errno = open_error.number;
        return open_error;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !is_private(info)) {
        ::close(fd);
        errno = EPERM;
        return last_error("tag-recovery");
    }
    return RecoveryFolder(fd, static_cast<std::uint64_t>(info.st_dev));
}

Result<std::string> RecoveryFolder::read(const std::string& name) const {
    Result<ByteFile> file = open_file(name);
    if (!file) return file.error();
    const Result<std::uint64_t> length = file->length();
    if (!length) return length.error();
    std::string bytes(static_cast<std::size_t>(*length), '\0');
    const Result<std::size_t> got = file->read_at(bytes.data(), bytes.size(), 0);
    if (!got) return got.error();
    bytes.resize(*got);
    return bytes;
}

Status RecoveryFolder::write(const std::string& name, std::string_view bytes) const {
    Result<ByteFile> file = create_file(name);
    if (!file) return file.error();
    Status written = file->write_at(bytes.data(), bytes.size(), 0);
    if (written) written = file->sync();
    if (written) return {};
    ::unlinkat(fd_.get(), name.c_str(), 0);
    return written;
}

Status RecoveryFolder::remove(const std::string& name) const {
    return status_of(::unlinkat(fd_.get(), name.c_str(), 0) == 0 || errno == ENOENT, "unlinkat");
}

Result<ByteFile> RecoveryFolder::create_file(const std::string& name) const {
    const int fd = open_at(fd_.get(), name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return last_error("create record");
    return ByteFile::adopt(fd);
}

Result<ByteFile> RecoveryFolder::open_file(const std::string& name) const {
    return private_file(open_at(fd_.get(), name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY));
}

}  // namespace varnel
