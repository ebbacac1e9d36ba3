// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo log: what the last rename batch did, one entry per move it made
// (a file the smart order moved through a temporary name has two), in the
// order of the moves. Undo takes them last first and finds each file by
// what the entry recorded (folder, name after the rename and identity on
// disk), not by any row, so rows removed, filtered or added after the batch
// do not shrink it.

#include <cstddef>
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
    // A swap (smart order only): the files under `fs_name` and
    // `renamed_fs_name` exchanged their names; `file` is the one that was
    // under `fs_name`. Undone by the same swap.
    bool exchange = false;
};

// A name the rename of entry `entry` claimed in the entry's folder on its
// way: the empty file reserving a name where the file system cannot rename
// without replacing, or a temporary name a case-only rename passed through.
// Undo looks for the file there and removes an empty reservation.
struct Reservation {
    std::size_t entry = 0;
    std::string fs_name;
};

struct UndoLog {
    std::vector<UndoEntry> entries;
};

}  // namespace varnel
