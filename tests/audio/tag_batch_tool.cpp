// SPDX-License-Identifier: GPL-3.0-or-later
// A batch tag edit or its undo in a process of its own, for the kill test:
//   audio_tag_batch_tool edit JOURNAL FILE...   artist and title of every FILE
//   audio_tag_batch_tool undo JOURNAL
// Exit status 0 when every file was written (or restored), 1 otherwise.

#include <cstdio>
#include <string>
#include <vector>

#include "audio/batch_tag_edit.h"

int main(int argc, char** argv) {
    using namespace varnel;
    if (argc < 3) return 2;
    const std::string action = argv[1];
    const std::string journal_path = argv[2];
    std::string reason;
    if (action == "undo") {
        const auto outcomes = undo_tag_journal(journal_path, reason);
        if (!outcomes) {
            std::fprintf(stderr, "%s\n", reason.c_str());
            return 1;
        }
        int status = 0;
        for (const TagUndoOutcome& o : *outcomes) {
            if (o.reason.empty()) continue;
            std::fprintf(stderr, "%s: %s\n", o.path.c_str(), o.reason.c_str());
            status = 1;
        }
        return status;
    }
    std::optional<TagJournal> journal = TagJournal::create(journal_path, reason);
    if (!journal) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        return 1;
    }
    const Codec codec;
    TagEditRequest request;
    request.fields[0] = codec.from_utf8("新标题").value();
    request.fields[1] = "Edited Artist";
    const std::vector<std::string> paths(argv + 3, argv + argc);
    int status = 0;
    for (const TagEditOutcome& o : edit_tags_of_files(paths, request, codec, &*journal))
        if (o.status != TagEditStatus::written) status = 1;
    return status;
}
