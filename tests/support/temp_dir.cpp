// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_dir.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace varnel::test {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/varnel-test-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempDir::write_file(std::string_view name, std::string_view content) const {
    std::ofstream out(path_ + std::string(name), std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write test file");
}

std::string TempDir::read_file(std::string_view name) const {
    std::ifstream in(path_ + std::string(name), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read test file");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TempDir::exists(std::string_view name) const {
    struct stat info {};
    return lstat((path_ + std::string(name)).c_str(), &info) == 0;
}

std::vector<std::string> TempDir::names() const {
    std::vector<std::string> result;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        result.push_back(entry.path().filename().string());
    std::sort(result.begin(), result.end());
    return result;
}

}  // namespace varnel::test
