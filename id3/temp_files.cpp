#include "id3/temp_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <limits>
#include <memory>
#include <string>

namespace varnel {
namespace {

constexpr std::string_view marker = ".varnel-tmp-";
constexpr std::string_view random_part = "XXXXXX";
constexpr std::size_t max_name = 255;
constexpr std::time_t stale_age = 60 * 60;

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool is_alnum(char c) {
    return is_digit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool process_exists(pid_t pid) {
    return kill(pid, 0) == 0 || errno != ESRCH;
}

bool is_stale(const struct stat& info, pid_t pid) {
    if (!process_exists(pid)) return true;
    return std::time(nullptr) - info.st_mtime > stale_age;
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

std::string temp_name_template(std::string_view name, pid_t pid) {
    std::string tail(marker);
    tail.append(std::to_string(pid)).append(1, '-').append(random_part);
    std::string result(1, '.');
    result.append(name.substr(0, max_name - 1 - tail.size())).append(tail);
    return result;
}

std::optional<pid_t> temp_name_pid(std::string_view name) {
    // From the end: "-" and six letters or digits, the pid, the marker.
    const std::size_t random_at =
        name.size() >= random_part.size() + 1 ? name.size() - random_part.size() : 0;
    if (random_at == 0 || name[random_at - 1] != '-') return std::nullopt;
    if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(random_at), name.end(), is_alnum))
        return std::nullopt;
    std::size_t digits_at = random_at - 1;
    while (digits_at > 0 && is_digit(name[digits_at - 1])) --digits_at;
    const std::size_t digit_count = random_at - 1 - digits_at;
    if (digit_count == 0 || digit_count > 9) return std::nullopt;
    // A leading '.' and at least one byte of the file's name before the marker.
    if (digits_at < marker.size() + 2 || name.front() != '.') return std::nullopt;
    if (name.substr(digits_at - marker.size(), marker.size()) != marker) return std::nullopt;
    const long pid = std::stol(std::string(name.substr(digits_at, digit_count)));
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) return std::nullopt;
    return static_cast<pid_t>(pid);
}

void remove_stale_temps(int folder_fd) {
    const int listing_fd = fcntl(folder_fd, F_DUPFD_CLOEXEC, 0);
    if (listing_fd < 0) return;
    const std::unique_ptr<DIR, DirCloser> dir(fdopendir(listing_fd));
    if (!dir) {
        close(listing_fd);
        return;
    }
    rewinddir(dir.get());
    while (const dirent* entry = readdir(dir.get())) {
        const auto pid = temp_name_pid(entry->d_name);
        struct stat info {};
        if (!pid || fstatat(folder_fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(info.st_mode) && is_stale(info, *pid)) unlinkat(folder_fd, entry->d_name, 0);
    }
}

}  // namespace varnel
