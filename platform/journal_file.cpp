// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/journal_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "platform/eintr.h"
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
std::string refusal_to_replace(const std::string& path, std::string_view own_prefix, bool& exists,
                               bool& busy) {
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
    } else if (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        busy = true;
        reason = path + " is held by another Varnel that is running its batch";
    }
    ::close(fd);
    return reason;
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
                                               std::string_view own_prefix, std::string& reason,
                                               bool* busy) {
    const PathParts parts = split_path(path);
    if (!is_valid_entry_name(parts.name) || path.find('\0') != std::string::npos) {
        reason = "not a file name: " + path;
        return std::nullopt;
    }
    bool exists = false;
    bool held = false;
    reason = refusal_to_replace(path, own_prefix, exists, held);
    if (busy != nullptr) *busy = held;
    if (!reason.empty()) return std::nullopt;
    // The checked journal goes first, and the new one is created
    // exclusively in its place: a link or file planted at the name meanwhile
    // is refused, never followed or replaced. The journal is written through
    // the descriptor that created it, under its own name from the start
    // (fusefat sends writes through a descriptor opened before a rename to
    // the old name, and refuses to extend a small file opened again).
    if (exists && ::unlink(path.c_str()) != 0 && errno != ENOENT) {
        reason = "cannot replace the journal " + path + ": " + system_error_text(errno);
        return std::nullopt;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        reason = "cannot create the journal " + path + ": " + system_error_text(errno);
        return std::nullopt;
    }
    JournalFile file(fd);
    int error = flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
    if (error == 0) error = write_all(fd, first_line);
    if (error == 0 && fdatasync(fd) != 0) error = errno;
    if (error != 0) {
        ::unlink(path.c_str());
        reason = "cannot write the journal " + path + ": " + system_error_text(error);
        return std::nullopt;
    }
    sync_folder(parts.folder);
    return file;
}

Status JournalFile::append(std::string_view bytes) {
    if (const int error = write_all(fd_.get(), bytes); error != 0) return SystemError{error, {}};
    return {};
}

Status JournalFile::sync() {
    return fd_.sync_data();
}

HeldJournal HeldJournal::claim(const std::string& path) {
    HeldJournal held;
    held.path_ = path;
    if (path.find('\0') != std::string::npos) {
        held.state_ = State::refused;
        held.reason_ = "not a file name";
        return held;
    }
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    held.fd_ = UniqueFd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!held.fd_.valid()) {
        const int error = errno;
        held.state_ = error == ENOENT ? State::missing : State::refused;
        held.reason_ =
            error == ELOOP ? path + " is a symbolic link" : path + ": " + system_error_text(error);
        return held;
    }
    if (flock(held.fd_.get(), LOCK_EX | LOCK_NB) == 0) {
        held.state_ = State::held;
    } else if (errno == EWOULDBLOCK) {
        held.state_ = State::busy;
        held.reason_ = path + " is held by another Varnel that is running its batch";
    } else {
        held.reason_ = path + ": " + system_error_text(errno);
    }
    return held;
}

TrustedRead HeldJournal::read(std::size_t max_size) const {
    TrustedRead result;
    if (state_ != State::held) {
        result.reason = reason_;
        return result;
    }
    struct stat info {};
    if (fstat(fd_.get(), &info) != 0)
        result.reason = path_ + ": " + system_error_text(errno);
    else if (!S_ISREG(info.st_mode))
        result.reason = path_ + " is not a regular file";
    else if (info.st_uid != geteuid() && (info.st_mode & S_IWOTH) == 0)
        result.reason = path_ + " belongs to another user";
    else if (static_cast<std::uint64_t>(info.st_size) > max_size)
        result.reason = path_ + " is too large for a journal";
    if (!result.reason.empty()) return result;
    result.others_may_write = info.st_uid != geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    std::string bytes;
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t got =
            retry_on_eintr([&] { return ::pread(fd_.get(), buffer, sizeof buffer, at); });
        if (got < 0) {
            result.reason = path_ + ": " + system_error_text(errno);
            return result;
        }
        if (got == 0) break;
        at += got;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > max_size) {
            result.reason = path_ + " is too large for a journal";
            return result;
        }
    }
    result.bytes = std::move(bytes);
    return result;
}

bool HeldJournal::open_as_journal(const std::string& fs_folder) const {
    if (state_ != State::held || fs_folder.find('\0') != std::string::npos) return false;
    struct stat journal {};
    struct stat folder {};
    return fstat(fd_.get(), &journal) == 0 && ::stat(fs_folder.c_str(), &folder) == 0 &&
           S_ISDIR(folder.st_mode) && folder.st_dev == journal.st_dev &&
           (folder.st_mode & S_IWOTH) != 0 && (folder.st_mode & S_ISVTX) == 0;
}

bool HeldJournal::remove() {
    return state_ == State::held && remove_file(path_);
}

std::string journal_writer_stamp() {
    std::string boot = "-";
    const int fd = ::open("/proc/sys/kernel/random/boot_id", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char id[64] = {};
        const ssize_t got = ::read(fd, id, sizeof id - 1);
        ::close(fd);
        if (got > 0) {
            boot.assign(id, static_cast<std::size_t>(got));
            while (!boot.empty() && (boot.back() == '\n' || boot.back() == ' ')) boot.pop_back();
        }
    }
    return boot + "\t" + std::to_string(getpid());
}

Status remove_named_file(const std::string& path) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return {};
    return last_error();
}

bool remove_file(const std::string& path) {
    return remove_named_file(path).ok();
}

}  // namespace varnel
