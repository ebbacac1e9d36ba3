// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_contents.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace varnel {
namespace {

enum class EntryKind { file, folder, link_to_folder };

bool is_dot_or_dot_dot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

EntryKind kind_of(int dir_fd, const dirent& entry) {
    unsigned char type = entry.d_type;
    struct stat info {};
    if (type == DT_UNKNOWN) {
        // A file system without d_type: what the entry itself is.
        if (fstatat(dir_fd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::file;
        type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISLNK(info.st_mode) ? DT_LNK : DT_REG;
    }
    if (type == DT_DIR) return EntryKind::folder;
    if (type != DT_LNK) return EntryKind::file;
    // Following the link: a dangling one fails here and counts as a file.
    if (fstatat(dir_fd, entry.d_name, &info, 0) != 0) return EntryKind::file;
    return S_ISDIR(info.st_mode) ? EntryKind::link_to_folder : EntryKind::file;
}

struct DirCloser {
    DIR* dir;
    ~DirCloser() { closedir(dir); }
};

FolderContents failed(int error) {
    FolderContents contents;
    contents.error = error;
    return contents;
}

}  // namespace

FolderContents read_folder_contents(const std::string& folder, bool follow_link) {
    if (folder.find('\0') != std::string::npos) return failed(EINVAL);
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (follow_link ? 0 : O_NOFOLLOW);
    const int fd = ::open(folder.c_str(), flags);
    if (fd < 0) return failed(errno);
    DIR* dir = fdopendir(fd);
    if (!dir) {
        const int error = errno;
        ::close(fd);
        return failed(error);
    }
    const DirCloser closer{dir};
    FolderContents contents;
    struct stat info {};
    if (fstat(fd, &info) != 0) return failed(errno);
    contents.device = info.st_dev;
    contents.inode = info.st_ino;
    while (true) {
        // readdir signals both the end and an error with nullptr; only an
        // error sets errno.
        errno = 0;
        const dirent* entry = readdir(dir);
        if (!entry) break;
        if (is_dot_or_dot_dot(entry->d_name)) continue;
        switch (kind_of(fd, *entry)) {
            case EntryKind::file:
                contents.files.emplace_back(entry->d_name);
                break;
            case EntryKind::folder:
                contents.subfolders.emplace_back(entry->d_name);
                break;
            case EntryKind::link_to_folder:
                break;
        }
    }
    if (errno != 0) return failed(errno);
    return contents;
}

}  // namespace varnel
