// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_facts.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

namespace varnel {

FolderFacts::FolderFacts(const std::string& fs_folder) : folder_(DirHandle::open_path(fs_folder)) {
    ::tzset();  // localtime_r alone keeps the zone it first met
}

FileFacts FolderFacts::of(const std::string& fs_name) const {
    FileFacts facts;
    if (!folder_ || fs_name.empty() || fs_name.find('\0') != std::string::npos) return facts;
    struct stat info {};
    if (::fstatat(folder_->fd(), fs_name.c_str(), &info, 0) != 0) return facts;
    facts.modified_ns =
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    struct tm local {};
    if (::localtime_r(&info.st_mtim.tv_sec, &local))
        facts.utc_offset_s = static_cast<std::int32_t>(local.tm_gmtoff);
    if (!S_ISDIR(info.st_mode)) facts.size = static_cast<std::int64_t>(info.st_size);
    return facts;
}

}  // namespace varnel
