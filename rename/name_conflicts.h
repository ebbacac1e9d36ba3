// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Name conflicts of a previewed batch, shown in column 命名状态 before
// anything is renamed.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/file_list.h"
#include "platform/codec.h"
#include "platform/folder_names.h"
#include "rename/rename_plan.h"

namespace varnel {

// The marks, in the code page, for people: "名称冲突" and "目标已存在".
[[nodiscard]] const std::string& conflict_same_name();
[[nodiscard]] const std::string& conflict_target_exists();

enum class NameConflict : unsigned char {
    none,
    same_name,      // another item of the folder gets the same new name
    target_exists,  // the new name is an existing entry that stays where it is
    // No file can have the new name (see check_new_name).
    empty_name,
    dots,
    separator,
    too_long,
};

// Reads one folder (file-system spelling); nullptr when it cannot be read.
// Injectable for tests.
using FolderReader = std::function<SharedFolderNames(const std::string& folder)>;

// The conflicts of rows 0..n-1, whose new names are computed. Names compare
// as the folder's file system compares them (ASCII letters folded where it
// folds case). An item conflicts by `same_name` when another of these rows
// in its folder gets an equal new name (an unchanged name counts as its new
// name); otherwise by `target_exists` when its new name differs from its
// own and names an entry of the folder that does not move away first: in
// order, only an item of an earlier row whose name changes moves away first;
// in the smart order, any item whose name changes does. A changed name that
// no file can have (empty, "." or "..", holding '/' or NUL, too long) is
// marked by its problem and takes no part in the rest. A folder that cannot
// be read, or a name the code page cannot spell, gives no conflict. Each
// folder is read once.
[[nodiscard]] std::vector<NameConflict> find_name_conflicts(const FileList& list, int n,
                                                            RenameOrder order, const Codec& codec,
                                                            const FolderReader& read_folder);

// Shows the conflicts of rows 0..n-1 in column 命名状态 (text and the
// failure image; a name problem by the text of name_problem_text) and
// empties every mark an earlier preview left where there is no conflict
// now. Other status texts are kept.
void show_name_conflicts(FileList& list, const std::vector<NameConflict>& conflicts);

}  // namespace varnel
