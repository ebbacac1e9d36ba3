#pragma once
// The undo log: one level of undo, indexed by list position.

#include <string>
#include <vector>

#include "platform/file_id.h"

namespace varnel {

// What the last rename did to the file at one list position. An entry whose
// `name` is empty records nothing (that rename failed, or no rename reached
// the position) and can never be undone.
struct UndoEntry {
    std::string name;             // code-page name before the rename
    std::string fs_name;          // its file-system spelling
    std::string fs_folder;        // the file's folder (file-system bytes, ends in '/')
    std::string renamed_fs_name;  // the name the rename gave the file
    FileId file;                  // the file itself, to recognise it at undo time

    bool is_empty() const { return name.empty(); }
};

inline constexpr std::size_t initial_undo_entries = 50;

struct UndoLog {
    std::vector<UndoEntry> entries = std::vector<UndoEntry>(initial_undo_entries);
};

}  // namespace varnel
