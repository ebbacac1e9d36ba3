// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_names.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "platform/dir_stream.h"
#include "platform/folder_listing.h"

namespace varnel {
namespace {

// The name with every ASCII letter's case swapped; empty when it has none.
std::string swap_ascii_case(const std::string& name) {
    std::string out = name;
    bool any = false;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
            any = true;
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
            any = true;
        }
    }
    return any ? out : std::string();
}

bool probe_case_folding(int dir_fd, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const std::string swapped = swap_ascii_case(name);
        if (swapped.empty()) continue;
        struct stat info {};
        if (fstatat(dir_fd, swapped.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
        // Reached: either another entry spelled that way, or case folding.
        return std::find(names.begin(), names.end(), swapped) == names.end();
    }
    return false;
}

}  // namespace

std::optional<FolderNames> read_folder_names(const std::string& folder) {
    if (folder.find('\0') != std::string::npos) return std::nullopt;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return std::nullopt;
    const DirStream closer{dir};
    FolderNames result;
    while (true) {
        errno = 0;  // readdir's end and its error both give nullptr
        const dirent* entry = readdir(dir);
        if (!entry) break;
        if (!is_dot_or_dot_dot(entry->d_name)) result.names.emplace_back(entry->d_name);
    }
    if (errno != 0) return std::nullopt;
    result.case_insensitive = probe_case_folding(dirfd(dir), result.names);
    return result;
}

SharedFolderNames read_shared_folder_names(const std::string& folder) {
    std::optional<FolderNames> names = read_folder_names(folder);
    if (!names) return nullptr;
    return std::make_shared<const FolderNames>(std::move(*names));
}

namespace {
constexpr std::int64_t racy_ns = 2'000'000'000;

std::int64_t now_ns() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}
}  // namespace

std::optional<FolderNamesCache::Stamp> FolderNamesCache::stamp_of(const std::string& folder) {
    struct stat info {};
    if (folder.find('\0') != std::string::npos || stat(folder.c_str(), &info) != 0) {
        entries_.erase(folder);
        return std::nullopt;
    }
    return Stamp{
        static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

void FolderNamesCache::keep(const std::string& folder, const Stamp& stamp, std::int64_t read_at,
                            const SharedFolderNames& names) {
    if (names && read_at - stamp.modified_ns >= racy_ns)
        entries_.insert_or_assign(folder, Entry{stamp, names});
    else
        entries_.erase(folder);
}

SharedFolderNames FolderNamesCache::read(const std::string& folder) {
    const std::optional<Stamp> stamp = stamp_of(folder);
    if (!stamp) return read_shared_folder_names(folder);
    const std::int64_t read_at = now_ns();
    if (const auto found = entries_.find(folder);
        found != entries_.end() && found->second.stamp == *stamp)
        return found->second.names;
    SharedFolderNames names = read_shared_folder_names(folder);
    keep(folder, *stamp, read_at, names);
    return names;
}

std::optional<std::vector<std::string>> FolderNamesCache::list_files(const std::string& folder) {
    const std::optional<Stamp> stamp = stamp_of(folder);
    const std::int64_t read_at = now_ns();
    std::optional<FilesAndNames> listed = list_files_and_names(folder);
    if (!listed) {
        entries_.erase(folder);
        return std::nullopt;
    }
    if (stamp) {
        auto names = std::make_shared<FolderNames>();
        const int dir_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir_fd >= 0) {
            names->case_insensitive = probe_case_folding(dir_fd, listed->names);
            close(dir_fd);
            names->names = std::move(listed->names);
            keep(folder, *stamp, read_at, names);
        } else {
            entries_.erase(folder);
        }
    }
    return std::move(listed->files);
}

}  // namespace varnel
