// SPDX-License-Identifier: GPL-3.0-or-later
// Test helper for kill_test.sh: one tag edit of a file, nothing else.
//   id3_rewrite_tool write FILE N   gives FILE a tag whose title is N bytes
//   id3_rewrite_tool both FILE N    the same, and an ID3v1 tag whose title
//                                   is N bytes (cut to 30), as one edit
//   id3_rewrite_tool remove FILE    removes FILE's tag
//   id3_rewrite_tool recover FILE   finishes an interrupted edit of FILE;
//                                   prints nothing, finished or discarded
// Exit code 0 when the library call reports success, 1 when it reports
// failure, 2 on bad arguments or when the file cannot be opened.
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "id3/id3v1.h"
#include "id3/id3v2_writer.h"
#include "id3/safe_rewrite.h"
#include "id3/tag_edit.h"

int main(int argc, char** argv) {
    const std::string_view action = argc > 2 ? argv[1] : "";
    const bool sized = action == "write" || action == "both";
    if (!(sized && argc == 4) && !((action == "remove" || action == "recover") && argc == 3))
        return 2;
    const std::string path = argv[2];
    std::optional<varnel::ByteFile> file = varnel::ByteFile::open_read_write(path);
    if (!file) return 2;
    varnel::TagFields fields;
    const std::size_t size = sized ? std::strtoul(argv[3], nullptr, 10) : 0;
    for (std::size_t i = 0; i < size; ++i) fields.title += static_cast<char>('a' + i % 26);
    bool done = false;
    if (action == "write") {
        done = varnel::write_id3v2_tag(*file, path, fields);
    } else if (action == "both") {
        varnel::TagChanges changes;
        changes.v1 = varnel::TagChange::write;
        changes.v1_block = varnel::build_id3v1_block(fields.title, "", "", "", "", 0, 255);
        changes.v2 = varnel::TagChange::write;
        changes.v2_fields = fields;
        done = varnel::edit_tags(*file, path, changes, varnel::Codec()).ok;
    } else if (action == "recover") {
        const std::optional<varnel::Recovery> found = varnel::recover_file_edit(*file, path);
        if (found == varnel::Recovery::finished) std::cout << "finished\n";
        if (found == varnel::Recovery::discarded) std::cout << "discarded\n";
        done = found.has_value();
    } else {
        done = varnel::remove_id3v2_tag(*file, path).ok;
    }
    return done ? 0 : 1;
}
