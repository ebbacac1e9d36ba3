// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "文件名转为UTF-8": legacy file names respelled in UTF-8.

#include <span>

#include "filelist/file_list.h"
#include "platform/codec.h"
#include "rename/renamer.h"
#include "rename/undo_log.h"

namespace varnel {

// Renames the file of every row of `rows` whose file-system name is not
// valid UTF-8 to the UTF-8 spelling of its code-page text (the text the list
// shows, which stays the same), through the same no-replace renaming as a
// batch: each row's status, the summary and the undo log (replaced by this
// batch's) as the rename command gives them. A name already in UTF-8
// counts as done without touching the file; one whose bytes are not
// code-page text either (shown with '?') fails with EILSEQ and keeps its
// name. The rows' new-name cells are set to their (unchanged) text.
[[nodiscard]] BatchOutcome respell_names_in_utf8(FileList& list, std::span<const int> rows,
                                                 UndoLog& log, const Codec& codec,
                                                 const BatchHooks& hooks);

}  // namespace varnel
