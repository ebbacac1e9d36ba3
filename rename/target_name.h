// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file-system spelling of an item's new name.

#include <optional>
#include <string>

#include "filelist/file_list.h"
#include "platform/codec.h"

namespace varnel {

// An unchanged text keeps the bytes the file has now, so a legacy name that
// no rule touched stays as it is; a changed one is spelled by the codec.
// nullopt when the text is not valid in the code page.
[[nodiscard]] inline std::optional<std::string> target_fs_name(const FileList& list, int row,
                                                               const std::string& new_name,
                                                               const Codec& codec) {
    if (new_name == list.old_names()[static_cast<std::size_t>(row)]) return list.fs_name(row);
    return codec.fs_from_text(new_name);
}

}  // namespace varnel
