#include "id3/safe_rewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "id3/fd_io.h"
#include "id3/file_copy.h"
#include "id3/temp_files.h"
#include "platform/dir_handle.h"

namespace varnel {
namespace {

// Where the file lives once symbolic links are followed: `folder` ends in '/'.
struct Location {
    std::string folder;
    std::string name;
};

struct FreeDeleter {
    void operator()(char* text) const { std::free(text); }
};

std::optional<Location> resolve(const std::string& path) {
    if (path.find('\0') != std::string::npos) return std::nullopt;
    const std::unique_ptr<char, FreeDeleter> real(realpath(path.c_str(), nullptr));
    if (!real) return std::nullopt;
    const std::string full(real.get());  // absolute, no trailing '/'
    const std::size_t slash = full.rfind('/');
    if (slash == std::string::npos || slash + 1 == full.size()) return std::nullopt;
    return Location{full.substr(0, slash + 1), full.substr(slash + 1)};
}

bool same_file(const struct stat& one, const struct stat& other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

// A temporary file of ours, removed when the object goes unless kept.
class TempFile {
public:
    TempFile(int folder_fd, std::string name, int fd)
        : folder_fd_(folder_fd), name_(std::move(name)), fd_(fd) {}
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        close(fd_);
        if (!kept_) unlinkat(folder_fd_, name_.c_str(), 0);
    }

    int fd() const { return fd_; }
    const std::string& name() const { return name_; }
    void keep() { kept_ = true; }

private:
    int folder_fd_;
    std::string name_;
    int fd_;
    bool kept_ = false;
};

std::unique_ptr<TempFile> create_temp(int folder_fd, const Location& where) {
    std::string path = where.folder + temp_name_template(where.name, getpid());
    const int fd = mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_unique<TempFile>(folder_fd, path.substr(where.folder.size()), fd);
}

// Writes the new content and the file's metadata into `temp`, synced.
bool fill(const TempFile& temp, int from, const struct stat& original, std::uint64_t cut,
          std::string_view head) {
    cut = std::min(cut, static_cast<std::uint64_t>(original.st_size));
    return write_at(temp.fd(), head.data(), head.size(), 0) &&
           copy_to_end(from, cut, temp.fd(), head.size()) &&
           copy_metadata(from, original, temp.fd()) && fsync(temp.fd()) == 0;
}

// Puts the filled `temp` in the place of `where.name`; `file` then holds it.
bool install(ByteFile& file, TempFile& temp, int folder_fd, const Location& where) {
    std::optional<ByteFile> reopened = ByteFile::open_read_write(where.folder + temp.name());
    if (!reopened) return false;
    if (renameat(folder_fd, temp.name().c_str(), folder_fd, where.name.c_str()) != 0) return false;
    temp.keep();
    file = std::move(*reopened);
    return fsync(folder_fd) == 0;
}

}  // namespace

bool replace_file_start(ByteFile& file, const std::string& path, std::uint64_t cut,
                        std::string_view head) {
    struct stat original {};
    if (fstat(file.fd(), &original) != 0 || !S_ISREG(original.st_mode)) return false;
    const std::optional<Location> where = resolve(path);
    struct stat found {};
    if (!where || stat((where->folder + where->name).c_str(), &found) != 0 ||
        !same_file(original, found))
        return false;
    const std::optional<DirHandle> folder = DirHandle::open(where->folder);
    if (!folder) return false;
    remove_stale_temps(folder->fd());
    const std::unique_ptr<TempFile> temp = create_temp(folder->fd(), *where);
    return temp && fill(*temp, file.fd(), original, cut, head) &&
           install(file, *temp, folder->fd(), *where);
}

}  // namespace varnel
