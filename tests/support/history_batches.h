// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo history in tests: a private state folder, and tag batches made
// as the window's and the command line's are.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "audio/batch_tag_edit.h"
#include "platform/journal_folder.h"
#include "support/temp_dir.h"

namespace varnel::test {

// $XDG_STATE_HOME set to a fresh folder for the object's life, with the
// journal folder of the history made in it.
class StateHome {
public:
    StateHome() {
        ::setenv("XDG_STATE_HOME", dir_.path().c_str(), 1);
        const JournalFolder made = automatic_journal_folder(true);
        journals_ = made.path.value_or("");
        reason_ = made.reason;
    }
    ~StateHome() { ::unsetenv("XDG_STATE_HOME"); }
    StateHome(const StateHome&) = delete;
    StateHome& operator=(const StateHome&) = delete;

    const TempDir& dir() const { return dir_; }
    // The journal folder (ending in '/'); empty, with reason(), when it
    // could not be made.
    const std::string& journals() const { return journals_; }
    const std::string& reason() const { return reason_; }

private:
    TempDir dir_;
    std::string journals_;
    std::string reason_;
};

// Sets the title of the files at `paths` as one tag batch recorded in the
// history; its journal, empty when it could not be made. `ended` false
// cuts the journal's end line off, as a batch killed before its end leaves
// it.
inline std::string title_batch(const std::vector<std::string>& paths, const std::string& title,
                               const Codec& codec, bool ended = true) {
    const std::optional<std::string> path = tag_journal_path();
    std::string reason;
    std::optional<TagJournal> journal = path ? TagJournal::create(*path, reason) : std::nullopt;
    if (!journal) return {};
    TagEditRequest request;
    request.fields[0] = title;
    for (const TagEditOutcome& outcome : edit_tags_of_files(paths, request, codec, &*journal))
        if (outcome.status != TagEditStatus::written) return {};
    if (!journal->finish()) return {};
    if (!ended) {
        std::ifstream in(*path, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!text.ends_with("E\n")) return {};
        text.resize(text.size() - 2);
        std::ofstream(*path, std::ios::binary | std::ios::trunc) << text;
    }
    return *path;
}

}  // namespace varnel::test
