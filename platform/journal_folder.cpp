// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/journal_folder.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/state_folder.h"

namespace varnel {

namespace {

// Why the folder at `path` cannot hold journals; empty when it can.
std::string private_folder_problem(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return path + ": " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode)) return path + ": not a folder";
    if (info.st_uid != ::geteuid()) return path + ": the folder belongs to another user";
    if ((info.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        return path + ": others may use the folder (mode " + mode + ")";
    }
    return {};
}

}  // namespace

JournalFolder automatic_journal_folder(bool create) {
    const std::optional<std::string> state = create ? user_state_folder() : state_folder_path();
    if (!state) {
        if (!create) return {};
        return {std::nullopt, "no state folder: " + std::string(std::strerror(errno))};
    }
    const std::string folder = *state + "journals";
    if (create && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return {std::nullopt, folder + ": " + std::strerror(errno)};
    struct stat info {};
    if (!create && ::lstat(folder.c_str(), &info) != 0 && errno == ENOENT) return {};
    std::string problem = private_folder_problem(folder);
    if (!problem.empty()) return {std::nullopt, std::move(problem)};
    return {folder + "/", {}};
}

Status rename_without_replacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS) return last_error("rename");
    // A file system without RENAME_NOREPLACE: a hard link refuses an
    // existing target as well.
    if (::link(from.c_str(), to.c_str()) != 0) return last_error("link");
    return status_of(::unlink(from.c_str()) == 0, "unlink");
}

std::string utc_stamp_now() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    struct tm parts {};
    ::gmtime_r(&now.tv_sec, &parts);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
    char nanoseconds[24];
    std::snprintf(nanoseconds, sizeof nanoseconds, "-%09ld-", now.tv_nsec);
    return std::string(text, length) + nanoseconds + std::to_string(::getpid());
}

}  // namespace varnel
