// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Building file lists for tests.

#include <string>
#include <vector>

#include "filelist/file_list.h"

namespace varnel::test {

// A list of `names` (ASCII or code-page bytes, spelled the same on disk) in
// `folder`.
inline FileList list_of(const std::string& folder, const std::vector<std::string>& names) {
    FileList list;
    std::vector<ItemName> items;
    for (const std::string& name : names) items.push_back(ItemName{name, name});
    std::string with_slash = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    list.append_items(ItemFolder{with_slash, with_slash}, std::move(items));
    return list;
}

inline std::vector<std::string> new_name_cells(const FileList& list) {
    std::vector<std::string> cells;
    for (int row = 0; row < list.item_count(); ++row)
        cells.emplace_back(list.get_cell(row, Column::new_name));
    return cells;
}

}  // namespace varnel::test
