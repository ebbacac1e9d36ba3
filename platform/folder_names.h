// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every name of one folder, and whether its file system folds letter case:
// what a check for name conflicts needs to know about a folder.

#include <optional>
#include <string>
#include <vector>

namespace varnel {

struct FolderNames {
    // Every entry but "." and "..", of any type (file-system bytes).
    std::vector<std::string> names;
    // True when a name reaches an entry that is listed with other letter
    // case (FAT, exFAT, a case-folding ext4 folder, …): such a file system
    // takes "ABC.TXT" and "abc.txt" for one name.
    bool case_insensitive = false;
};

// Reads `folder` (file-system bytes, with or without a trailing '/') once.
// Case folding is probed with one entry whose name holds an ASCII letter:
// the same name with every ASCII letter's case swapped is looked up, and the
// folder folds case when that spelling exists without being listed. A folder
// without such an entry counts as case-sensitive (its names cannot clash by
// case). nullopt when the folder cannot be opened or read.
std::optional<FolderNames> read_folder_names(const std::string& folder);

}  // namespace varnel
