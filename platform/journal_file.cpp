// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/journal_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "platform/dir_handle.h"
#include "platform/error_text.h"
#include "platform/rename_file.h"
#include "platform/write_all.h"

namespace varnel {

namespace {

struct PathParts {
    std::string folder;  // ends in '/', "./" for a bare name
    std::string name;
};

PathParts split_path(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {"./", path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// Why an existing `path` may not be replaced by a journal; empty when it
// may (it does not exist, or it is an empty file or a journal of this user).
std::string refusal_to_replace(const std::string& path, std::string_view own_prefix, bool& exists) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    exists = fd >= 0 || errno != ENOENT;
    if (fd < 0) {
        if (errno == ENOENT) return {};
        if (errno == ELOOP) return path + " is a symbolic link";
        return path + ": " + system_error_text(errno);
    }
    struct stat info {};
    std::string reason;
    std::string head(own_prefix.size(), '\0');
    if (fstat(fd, &info) != 0) {
        reason = path + ": " + system_error_text(errno);
    } else if (!S_ISREG(info.st_mode)) {
        reason = path + " is not a regular file";
    } else if (info.st_uid != geteuid()) {
        reason = path + " belongs to another user";
    } else if (info.st_size != 0 &&
               (::read(fd, head.data(), head.size()) != static_cast<ssize_t>(head.size()) ||
                head != own_prefix)) {
        reason = path + " exists and is not a journal";
    }
    ::close(fd);
    return reason;
}

// Gives the temporary its final name: over the checked journal, or, where
// there was none, without replacing anything that appeared since.
int install(const std::string& temporary, const PathParts& parts, bool replace) {
    if (replace)
        return ::rename(temporary.c_str(), (parts.folder + parts.name).c_str()) == 0 ? 0 : errno;
    const auto folder = DirHandle::open_path(parts.folder);
    if (!folder) return errno;
    return rename_no_replace(folder->fd(), temporary.substr(parts.folder.size()), parts.name);
}

// Makes the journal's new name durable; a folder that cannot be read
// (mode 0300) keeps it in the page cache only.
void sync_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    ::close(fd);
}

}  // namespace

std::optional<JournalFile> JournalFile::create(const std::string& path, std::string_view first_line,
                                               std::string_view own_prefix, std::string& reason) {
    const PathParts parts = split_path(path);
    if (!is_valid_entry_name(parts.name) || path.find('\0') != std::string::npos) {
        reason = "not a file name: " + path;
        return std::nullopt;
    }
    bool exists = false;
    reason = refusal_to_replace(path, own_prefix, exists);
    if (!reason.empty()) return std::nullopt;
    // mkstemp creates exclusively: a link planted at the name is never followed.
    std::string temporary = parts.folder + "." + parts.name + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        reason = "cannot create a journal in " + parts.folder + ": " + system_error_text(errno);
        return std::nullopt;
    }
    JournalFile file(fd);
    int error = write_all(fd, first_line);
    if (error == 0 && fdatasync(fd) != 0) error = errno;
    // Replaces `path` itself (never what a link there points to); a name
    // that appeared since the check is refused by the no-replace rename.
    if (error == 0) error = install(temporary, parts, exists);
    if (error != 0) {
        ::unlink(temporary.c_str());
        reason = "cannot write the journal " + path + ": " + system_error_text(error);
        return std::nullopt;
    }
    sync_folder(parts.folder);
    return file;
}

JournalFile::JournalFile(JournalFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

JournalFile& JournalFile::operator=(JournalFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

JournalFile::~JournalFile() {
    if (fd_ >= 0) ::close(fd_);
}

int JournalFile::append(std::string_view bytes) {
    return write_all(fd_, bytes);
}

int JournalFile::sync() {
    return fdatasync(fd_) == 0 ? 0 : errno;
}

TrustedRead read_trusted_file(const std::string& path, std::size_t max_size) {
    if (path.find('\0') != std::string::npos) return {std::nullopt, "not a file name"};
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP) return {std::nullopt, path + " is a symbolic link"};
        return {std::nullopt, path + ": " + system_error_text(errno)};
    }
    struct stat info {};
    TrustedRead result;
    if (fstat(fd, &info) != 0)
        result.reason = path + ": " + system_error_text(errno);
    else if (!S_ISREG(info.st_mode))
        result.reason = path + " is not a regular file";
    else if (info.st_uid != geteuid())
        result.reason = path + " belongs to another user";
    else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        result.reason = path + " can be written by other users";
    else if (static_cast<std::uint64_t>(info.st_size) > max_size)
        result.reason = path + " is too large for a journal";
    if (!result.reason.empty()) {
        ::close(fd);
        return result;
    }
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            result.reason = path + ": " + system_error_text(errno);
            break;
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > max_size) {
            result.reason = path + " is too large for a journal";
            break;
        }
    }
    ::close(fd);
    if (result.reason.empty()) result.bytes = std::move(bytes);
    return result;
}

bool remove_file(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

}  // namespace varnel
