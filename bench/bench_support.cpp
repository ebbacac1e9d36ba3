// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>

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

namespace {

// An ID3v2.3 text frame in ISO-8859-1 (flags 0).
std::string text_frame(std::string_view id, std::string_view text) {
    const std::size_t size = text.size() + 1;
    std::string frame(id);
    for (int shift = 24; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
    return frame + std::string(3, '\0') + std::string(text);
}

}  // namespace

std::vector<std::string> write_tagged_mp3s(const std::string& folder, int count) {
    const std::string frames = text_frame("TIT2", "Song") + text_frame("TPE1", "Artist");
    const std::size_t size = frames.size() + 1024;
    std::string tag = std::string("ID3\x03\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7) tag += static_cast<char>((size >> shift) & 0x7F);
    const std::string file = tag + frames + std::string(1024, '\0') + std::string(200 * 1024, 'U');
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        paths.push_back(folder + "s" + std::to_string(i) + ".mp3");
        std::ofstream(paths.back(), std::ios::binary) << file;
    }
    return paths;
}

void ScratchDir::create_files(const std::vector<std::string>& names) const {
    create_files_in(path_, names);
}

}  // namespace varnel::bench
