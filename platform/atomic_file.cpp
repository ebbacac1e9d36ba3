// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/write_all.h"

namespace varnel {
namespace {

WriteResult failure() {
    return WriteResult{errno != 0 ? errno : EIO};
}

// Makes the rename itself durable; a folder that cannot be synced is no
// reason to call the write failed.
void sync_folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

WriteResult replace_file_atomically(const std::string& path, std::string_view content) {
    static std::atomic<unsigned> counter{0};
    const std::string temporary =
        path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return failure();
    struct stat original {};
    if (::lstat(path.c_str(), &original) == 0 && S_ISREG(original.st_mode))
        (void)::fchmod(fd, original.st_mode & 07777);
    bool written = write_all(fd, content) == 0 && ::fsync(fd) == 0;
    WriteResult result = written ? WriteResult{} : failure();
    if (::close(fd) != 0 && written) {
        result = failure();
        written = false;
    }
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) {
        result = failure();
        written = false;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return result;
    }
    sync_folder_of(path);
    return result;
}

}  // namespace varnel
