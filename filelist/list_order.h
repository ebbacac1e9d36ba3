// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// New orders for the rows of the list, asked for by the user: sorted by a
// column, or selected rows moved. Each gives an order for FileList::reorder
// (order[i]: the row that becomes row i) and changes nothing itself.

#include <span>
#include <vector>

#include "filelist/file_list.h"

namespace varnel {

// The rows sorted by the texts of `column`, in natural order
// (platform/name_order.h); descending reverses it. Rows with equal texts keep
// their order in both directions. Columns 大小 and 修改时间 sort by their
// numbers (FileList::file_facts; unknown below every known value, so a
// folder's size sorts as the smallest), descending reversing only the
// numbers: rows with equal numbers go in natural order of their old names
// either way, and rows with equal names keep their order.
[[nodiscard]] std::vector<int> rows_sorted_by(const FileList& list, Column column, bool descending);

// The rows with each of `rows` (rows of 0..count-1, any order, duplicates and
// rows outside ignored) moved one place up (or down): a run of moved rows
// swaps with the row before (after) it; a run already at the top (bottom)
// stays where it is.
[[nodiscard]] std::vector<int> rows_moved_by_one(int count, std::span<const int> rows, bool up);

// The rows with `rows` (as above) taken out and put, in their present order,
// in front of row `before` (count: at the end); `before` clamped to 0..count.
// A drop onto one of the moved rows puts them before the first row after it
// that is not moved.
[[nodiscard]] std::vector<int> rows_moved_before(int count, std::span<const int> rows, int before);

}  // namespace varnel
