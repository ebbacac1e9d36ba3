// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Adding a folder with all its subfolders: the order in which the tree's
// files are met, and the folders that could not be read.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "filelist/file_list.h"
#include "platform/codec.h"

namespace varnel {

// A folder the walk skipped: its path (file-system bytes, ending in '/')
// and the errno of the failure to open or read it.
struct UnreadableFolder {
    std::string folder;
    int error = 0;
};

struct TreeWalkReport {
    std::size_t unreadable = 0;  // folders skipped, the chosen one included
    // The first few of them (at most unreadable_kept), in walk order.
    std::vector<UnreadableFolder> first_unreadable;
    bool stopped = false;  // the walk's `stop` ended it early
};
inline constexpr std::size_t unreadable_kept = 5;

// Called once for every folder that holds files: the folder (file-system
// bytes, ending in '/') and its files' item names in natural order of
// their code-page texts (sort_naturally).
using TreeFolderSink = std::function<void(const std::string& fs_folder, std::vector<ItemName>)>;

// Walks the tree under `root` (file-system bytes; a trailing '/' is
// optional; a symbolic link naming the root itself is followed) and hands
// each folder's files to `sink`, in this order (pre-order, depth first):
//   1. the files of the folder itself;
//   2. then each of its subfolders in natural order of the subfolders'
//      code-page names, each subfolder's whole tree (1 and 2 again) before
//      the next subfolder.
// So for root/{b.txt, a.txt, 10/, 9/{x}, 9/sub/{y}}: a.txt and b.txt in
// root/, x in root/9/, y in root/9/sub/, then the files of root/10/.
//
// Everything in the tree is taken: hidden files and hidden subfolders
// ('.' names) alike, and names that are not valid UTF-8 byte for byte at
// every depth. Which entries are files is read_folder_contents' answer. A
// symbolic link to a folder is neither added nor entered; a folder met a
// second time (a bind mount of one of its ancestors) is not entered again.
// A folder that cannot be opened or read is skipped, with all its
// subfolders, and counted in the report. Each subfolder is opened through
// its parent's open descriptor and never through a symbolic link, so a
// folder that another process swaps for a link while the walk is under way
// is skipped (ELOOP or ENOTDIR), never followed, and no renamed ancestor
// can lead the walk elsewhere. Each folder is listed once; the folders on
// the way down from the root stay open (one descriptor per level; a folder
// deeper than the descriptors allow is skipped with EMFILE); memory grows
// with the files of one folder, the subfolders still to be walked and one
// identity per folder walked. `stop`, when given, is asked before each
// folder after the root; true ends the walk there (report.stopped), the
// folders handed to `sink` so far staying handed.
[[nodiscard]] TreeWalkReport walk_folder_tree(const std::string& root, const Codec& codec,
                                              const TreeFolderSink& sink,
                                              const std::function<bool()>& stop = {});

}  // namespace varnel
