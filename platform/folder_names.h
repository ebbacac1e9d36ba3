// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every name of one folder, and whether its file system folds letter case:
// what a check for name conflicts needs to know about a folder.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
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
[[nodiscard]] std::optional<FolderNames> read_folder_names(const std::string& folder);

// Folders read before, kept while they stay unchanged: a folder is read
// again when its inode, device or modification time differs from the
// listing's, or when it was modified less than two seconds before that
// listing was read (a change within the same timestamp tick could go
// unseen). For previews that read the same large folder on every key.
class FolderNamesCache {
public:
    // As read_folder_names.
    [[nodiscard]] std::optional<FolderNames> read(const std::string& folder);

private:
    struct Stamp {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t modified_ns = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    struct Entry {
        Stamp stamp;
        FolderNames names;
    };
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace varnel
