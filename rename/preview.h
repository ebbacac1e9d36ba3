// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview driver: how many items to compute, and writing the computed
// names into column 新文件名.

#include <string>

#include "filelist/file_list.h"
#include "rename/name_conflicts.h"
#include "rename/name_rule.h"
#include "rename/rule_dispatch.h"

namespace varnel {

// The settings the preview reads.
struct PreviewSettings {
    bool auto_preview = false;  // 自动预览
    bool preview_all = false;   // 全部预览
    int preview_count = 10;     // 预览数量
    // Marks name conflicts of the previewed rows in 命名状态, judged for the
    // order the batch will be renamed in (冲突处理).
    bool mark_conflicts = false;
    RenameOrder order = RenameOrder::in_order;
    // Reads the folders for the conflict marks; empty: read_shared_folder_names.
    FolderReader read_folder = {};
};

// What a refresh changed, for a view to repaint: the 新文件名 cells of rows
// first_row..last_row (none when first_row > last_row), and the whole
// 命名状态 column when status_reset is set.
struct ListChange {
    int first_row = 0;
    int last_row = -1;
    bool status_reset = false;
    // Why the rule could not use its settings (code page); empty when it could.
    std::string rule_error;
};

// Status reset, then the 新文件名 cells of rows first_row..last_row set from
// the new-name array, then the stale-preview cleanup: from the row after
// last_row, cells are emptied until the first one that is already empty.
ListChange fill_list_columns(FileList& list, int first_row, int last_row);

// Computes and shows the preview. An automatic refresh (explicit_command
// false) does nothing while auto_preview is off. Otherwise n is the whole
// list for the explicit command, with preview_all, or on the tag page, and
// min(item count, preview_count) else; the active rule computes items 1..n
// and rows 0..n-1 are shown. The explicit command computes the whole list
// even while auto_preview is off. With mark_conflicts, the conflicts of rows
// 0..n-1 are then shown (each folder of those rows is read once). Names the
// rule could not compute show their fault (name_fault_text) in 命名状态.
ListChange refresh_preview(FileList& list, const RulePages& pages, const PreviewSettings& settings,
                           bool explicit_command, const Codec& codec);
// The same with `rule` computing the names (the whole list when it computes
// every item, as the tag page does).
ListChange refresh_preview(FileList& list, const NameRule& rule, const PreviewSettings& settings,
                           bool explicit_command, const Codec& codec);

}  // namespace varnel
