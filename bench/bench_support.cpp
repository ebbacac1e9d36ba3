// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace varnel::bench {

std::vector<std::string> sample_names(int count) {
    // GBK: 歌曲 (song), 周杰伦 (a singer's name), 第 (ordinal prefix).
    static const char* const stems[] = {"My Song",       "\xB8\xE8\xC7\xFA",
                                        "holiday_photo", "\xD6\xDC\xBD\xDC\xC2\xD7 - \xB5\xDA",
                                        "README",        "report.final"};
    static const char* const extensions[] = {".mp3", ".JPG", ".txt", "", ".tar.gz"};
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        names.push_back(std::string(stems[i % 6]) + " " + std::to_string(i) + extensions[i % 5]);
    return names;
}

namespace {
std::string default_base() {
    const char* base = std::getenv("VARNEL_BENCH_DIR");
    if (!base || !*base) base = std::getenv("TMPDIR");
    return base && *base ? base : "/tmp";
}
}  // namespace

ScratchDir::ScratchDir() : ScratchDir(default_base()) {}

ScratchDir::ScratchDir(const std::string& base) {
    std::string pattern = base + "/varnel-bench-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed in " + base);
    path_ = pattern + "/";
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void create_files_in(const std::string& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const int fd = ::open((folder + name).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) throw std::runtime_error("cannot create " + name);
        ::close(fd);
    }
}

void ScratchDir::create_files(const std::vector<std::string>& names) const {
    create_files_in(path_, names);
}

}  // namespace varnel::bench
