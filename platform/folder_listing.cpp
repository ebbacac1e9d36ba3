// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_listing.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/dir_stream.h"

namespace varnel {
namespace {

// Whether entry `entry` of the folder open as `dir_fd` is a directory or a
// symbolic link to one. d_type answers without a stat for most entries,
// which keeps listing a folder of 100,000 files fast.
bool is_directory(int dir_fd, const dirent& entry) {
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return false;
    struct stat info {};
    // Following the link: a dangling one fails here and is listed as a file.
    if (fstatat(dir_fd, entry.d_name, &info, 0) != 0) return false;
    return S_ISDIR(info.st_mode);
}

// Calls on_entry(name, is_folder) for every entry but "." and "..".
template <typename OnEntry>
bool walk_folder(const std::string& folder, OnEntry on_entry) {
    if (folder.find('\0') != std::string::npos) return false;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    const DirStream closer{dir};
    const int dir_fd = dirfd(dir);
    while (true) {
        // readdir signals both the end and an error with nullptr; only an
        // error sets errno.
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry) break;
        if (is_dot_or_dot_dot(entry->d_name)) continue;
        on_entry(entry->d_name, is_directory(dir_fd, *entry));
    }
    return errno == 0;
}

}  // namespace

std::optional<std::vector<std::string>> list_folder_files(const std::string& folder) {
    std::vector<std::string> names;
    names.reserve(256);
    const bool read = walk_folder(folder, [&](const char* name, bool is_folder) {
        if (!is_folder) names.emplace_back(name);
    });
    if (!read) return std::nullopt;
    return names;
}

std::optional<FilesAndNames> list_files_and_names(const std::string& folder) {
    FilesAndNames listed;
    const bool read = walk_folder(folder, [&](const char* name, bool is_folder) {
        listed.names.emplace_back(name);
        if (!is_folder) listed.files.push_back(listed.names.back());
    });
    if (!read) return std::nullopt;
    return listed;
}

std::optional<std::vector<FolderEntry>> list_folder_entries(const std::string& folder) {
    std::vector<FolderEntry> entries;
    const bool read = walk_folder(folder, [&](const char* name, bool is_folder) {
        entries.push_back(FolderEntry{name, is_folder});
    });
    if (!read) return std::nullopt;
    return entries;
}

PathKind path_kind(const std::string& path) {
    struct stat info {};
    if (path.find('\0') != std::string::npos || ::stat(path.c_str(), &info) != 0)
        return PathKind::missing;
    return S_ISDIR(info.st_mode) ? PathKind::folder : PathKind::other;
}

bool is_folder(const std::string& path) {
    return path_kind(path) == PathKind::folder;
}

}  // namespace varnel
