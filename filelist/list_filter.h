// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The filter of the dialog 过滤设置: removes the items whose old name
// matches a test, or keeps only those. Pure list work; the tests on names
// are handed in, so this unit needs nothing beyond the file list.

#include <functional>
#include <optional>
#include <string_view>

#include "filelist/file_list.h"

namespace varnel {

// The entries of 操作方式组合框, by index.
enum class FilterOperation { remove = 0, keep = 1 };

// What the items are matched by: the checked radio button of the dialog,
// or none when neither is checked.
enum class FilterBy { none, extension, contained_text };

// Why a filter cannot run; each maps to one message of the dialog.
enum class FilterProblem { none, no_operation, empty_extension, empty_contained_text };

// A test on an item's old name (file name with extension, no folder).
using NameMatch = std::function<bool(std::string_view old_name)>;

// The operation of entry `index` of 操作方式组合框: 0 remove, 1 keep.
// Any other index (-1 when no entry is selected) gives nullopt.
[[nodiscard]] std::optional<FilterOperation> filter_operation(int index);

// Checks a filter request in the order the dialog reports problems: a
// missing operation first, then empty `text` for the criterion `by`. With
// FilterBy::none the text is not looked at.
[[nodiscard]] FilterProblem check_filter(std::optional<FilterOperation> operation, FilterBy by,
                                         std::string_view text);

// With `remove`, removes every item whose old name matches; with `keep`,
// every item whose old name does not. `matches` is called once per item.
// The remaining items keep their order and all their cells (new names,
// statuses, selection marks). Returns how many items were removed.
int filter_items(FileList& list, FilterOperation operation, const NameMatch& matches);

}  // namespace varnel
