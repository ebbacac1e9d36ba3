// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/state_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace varnel {

namespace {

bool make_folders(const std::string& path) {
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/') continue;
        const std::string part = path.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::optional<std::string> state_folder_path() {
    std::string base;
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    // The base-directory rules ignore a relative XDG_STATE_HOME.
    if (state != nullptr && state[0] == '/')
        base = state;
    else if (home != nullptr && home[0] == '/')
        base = std::string(home) + "/.local/state";
    else {
        errno = ENOENT;
        return std::nullopt;
    }
    return base + "/varnel/";
}

std::optional<std::string> user_state_folder() {
    const std::optional<std::string> folder = state_folder_path();
    if (!folder || !make_folders(folder->substr(0, folder->size() - 1))) return std::nullopt;
    return folder;
}

}  // namespace varnel
