#pragma once
// A file that keeps a rename batch's undo log beyond the process, so that
// the command-line tool can undo a batch in a later run.
//
// Format: the line "varnel-undo-journal 1", then one line per list position,
// eleven TAB-separated fields: folder (file-system), folder (text), name
// (file-system), name (text), then the log entry: name (text), name
// (file-system), folder (file-system), renamed name (file-system), device,
// inode, and "1" when the entry records a rename ("0" otherwise). Bytes below
// 0x20, 0x7F and '%' are written as %XX.

#include <optional>
#include <string>

#include "filelist/file_list.h"
#include "rename/undo_log.h"

namespace varnel {

struct UndoJournal {
    FileList list;
    UndoLog log;
};

// Writes the items of `list` with the entries of `log`; false when the file
// cannot be written (a partial file is not left behind).
bool write_undo_journal(const std::string& path, const FileList& list, const UndoLog& log);

// nullopt when the file cannot be read or is not a journal.
std::optional<UndoJournal> read_undo_journal(const std::string& path);

}  // namespace varnel
