// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes away.

#include <string>
#include <string_view>
#include <vector>

namespace varnel::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending in '/'.
    const std::string& path() const { return path_; }

    // Creates file `name` (file-system bytes) holding `content`.
    void write_file(std::string_view name, std::string_view content = {}) const;
    // Content of file `name`; throws when it cannot be read.
    std::string read_file(std::string_view name) const;
    bool exists(std::string_view name) const;
    // Names in the folder, sorted.
    std::vector<std::string> names() const;

private:
    std::string path_;
};

}  // namespace varnel::test
