// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/user_folders.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace varnel {

std::string user_config_home() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        std::string folder(xdg);
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        return folder;
    }
    std::string home;
    if (const char* env_home = std::getenv("HOME"); env_home != nullptr && env_home[0] == '/')
        home = env_home;
    else if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_dir)
        home = entry->pw_dir;
    if (home.empty()) return {};
    while (!home.empty() && home.back() == '/') home.pop_back();
    return home + "/.config";
}

bool folder_is_writable(const std::string& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool path_exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

WriteResult make_folders(const std::string& folder) {
    std::size_t at = 0;
    while (at != std::string::npos) {
        at = folder.find('/', at + 1);
        const std::string part = folder.substr(0, at);
        if (part.empty() || ::mkdir(part.c_str(), 0700) == 0 || errno == EEXIST) continue;
        return WriteResult{errno};
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return WriteResult{errno};
    return S_ISDIR(info.st_mode) ? WriteResult{} : WriteResult{ENOTDIR};
}

}  // namespace varnel
