// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every name of one folder, and whether its file system folds letter case:
// what a check for name conflicts needs to know about a folder.

#include <cstdint>
#include <memory>
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

// A listing shared by a cache and those who read it; nullptr when the
// folder could not be read.
using SharedFolderNames = std::shared_ptr<const FolderNames>;

// read_folder_names, shared.
[[nodiscard]] SharedFolderNames read_shared_folder_names(const std::string& folder);

// Folders read before, kept while they stay unchanged: a folder is read
// again when its inode, device or modification time differs from the
// listing's, or when it was modified less than two seconds before that
// listing was read (a change within the same timestamp tick could go
// unseen). For previews that read the same large folder on every key, and
// whose first preview follows the adding of the folder's files.
class FolderNamesCache {
public:
    // As read_shared_folder_names.
    [[nodiscard]] SharedFolderNames read(const std::string& folder);
    // The files of `folder`, as list_folder_files gives them, from a reading
    // of the folder that is kept as `read` keeps one: adding a folder's files
    // and then marking their conflicts reads the folder once.
    [[nodiscard]] std::optional<std::vector<std::string>> list_files(const std::string& folder);

private:
    struct Stamp {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t modified_ns = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    struct Entry {
        Stamp stamp;
        SharedFolderNames names;
    };
    // The stamp of `folder` now; nullopt (and the folder forgotten) when it
    // cannot be examined.
    std::optional<Stamp> stamp_of(const std::string& folder);
    // Keeps `names` read after the folder showed `stamp`, unless the folder
    // changed too recently to be trusted unchanged later.
    void keep(const std::string& folder, const Stamp& stamp, std::int64_t read_at,
              const SharedFolderNames& names);
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace varnel
