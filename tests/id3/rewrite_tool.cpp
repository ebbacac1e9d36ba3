// SPDX-License-Identifier: GPL-3.0-or-later
// Test helper for kill_test.sh: one tag rewrite of a file, nothing else.
//   id3_rewrite_tool write FILE N   gives FILE a tag whose title is N bytes
//   id3_rewrite_tool remove FILE    removes FILE's tag
// Exit code 0 when the library call reports success, 1 when it reports
// failure, 2 on bad arguments or when the file cannot be opened.
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "id3/id3v2_writer.h"

int main(int argc, char** argv) {
    const std::string_view action = argc > 2 ? argv[1] : "";
    if (!(action == "write" && argc == 4) && !(action == "remove" && argc == 3)) return 2;
    const std::string path = argv[2];
    std::optional<varnel::ByteFile> file = varnel::ByteFile::open_read_write(path);
    if (!file) return 2;
    bool done = false;
    if (action == "write") {
        varnel::TagFields fields;
        const std::size_t size = std::strtoul(argv[3], nullptr, 10);
        for (std::size_t i = 0; i < size; ++i) fields.title += static_cast<char>('a' + i % 26);
        done = varnel::write_id3v2_tag(*file, path, fields);
    } else {
        done = varnel::remove_id3v2_tag(*file, path).ok;
    }
    return done ? 0 : 1;
}
