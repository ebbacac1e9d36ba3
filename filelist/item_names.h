// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Building list items from file-system spellings.

#include <string>
#include <vector>

#include "filelist/file_list.h"
#include "platform/codec.h"

namespace varnel {

// The item name of a file-system name: its code-page text (see
// Codec::text_from_fs) beside the bytes themselves.
[[nodiscard]] ItemName item_name_from_fs(std::string fs_name, const Codec& codec);
[[nodiscard]] std::vector<ItemName> item_names_from_fs(std::vector<std::string> fs_names,
                                                       const Codec& codec);

// Puts names in natural order of their code-page texts (see natural_compare):
// the order a folder's files are added in.
void sort_naturally(std::vector<ItemName>& names);

// The item folder of a file-system folder path, '/' appended when missing.
[[nodiscard]] ItemFolder item_folder_from_fs(std::string fs_folder, const Codec& codec);

}  // namespace varnel
