// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo log: what the last rename batch did, one entry per file it
// renamed, in the order of the renames. Undo finds an item's entry by the
// file the entry recorded (folder, name after the rename and identity on
// disk), not by the item's row, so rows removed, filtered or added after
// the batch do not disturb the undo of the others.

#include <string>
#include <vector>

#include "platform/file_id.h"

namespace varnel {

struct UndoEntry {
    std::string fs_folder;        // the file's folder (file-system bytes, ends in '/')
    std::string folder_text;      // its code-page text
    std::string name;             // code-page name before the rename
    std::string fs_name;          // its file-system spelling
    std::string new_name;         // code-page name the rename gave
    std::string renamed_fs_name;  // its file-system spelling
    FileId file;                  // the file itself, to recognise it at undo time
};

struct UndoLog {
    std::vector<UndoEntry> entries;
    // The batch ran in the smart order: `entries` are its moves in the
    // order they were made, and undo takes them last first.
    bool smart = false;
};

}  // namespace varnel
