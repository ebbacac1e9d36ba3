// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_contents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/dir_stream.h"
#include "platform/eintr.h"

namespace varnel {
namespace {

enum class EntryKind { file, folder, link_to_folder };

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

FolderContents failed(int error) {
    FolderContents contents;
    contents.error = error;
    return contents;
}

int open_folder_at(int dir_fd, const std::string& name, int flags, int& error) {
    const int fd = retry_on_eintr(
        [&] { return ::openat(dir_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags); });
    error = fd < 0 ? errno : 0;
    return fd;
}

}  // namespace

WalkFolder WalkFolder::open_root(const std::string& path, int& error) {
    // c_str() would cut the path at an embedded NUL and open another folder.
    if (path.find('\0') != std::string::npos) {
        error = EINVAL;
        return WalkFolder(-1);
    }
    return WalkFolder(open_folder_at(AT_FDCWD, path, 0, error));
}

WalkFolder WalkFolder::open_subfolder(const std::string& name, int& error) const {
    if (name.empty() || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos || name == "." || name == "..") {
        error = EINVAL;
        return WalkFolder(-1);
    }
    return WalkFolder(open_folder_at(fd_.get(), name, O_NOFOLLOW, error));
}

FolderContents read_folder_contents(const WalkFolder& folder) {
    if (!folder.open()) return failed(EBADF);
    // The stream takes a descriptor of its own, so the folder stays open
    // for opening its subfolders after the listing.
    const int fd = ::fcntl(folder.fd_.get(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) return failed(errno);
    DIR* dir = fdopendir(fd);
    if (!dir) {
        const int error = errno;
        ::close(fd);
        return failed(error);
    }
    const DirStream closer{dir};
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
