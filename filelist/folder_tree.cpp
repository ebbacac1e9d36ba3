// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/folder_tree.h"

#include <algorithm>
#include <set>
#include <utility>

#include "filelist/item_names.h"
#include "platform/folder_contents.h"
#include "platform/name_order.h"

namespace varnel {
namespace {

// The subfolders' paths in natural order of their code-page names.
std::vector<std::string> ordered_subfolders(const std::string& folder,
                                            std::vector<std::string> names, const Codec& codec) {
    std::vector<std::pair<std::string, std::string>> keyed;  // text, name
    keyed.reserve(names.size());
    for (std::string& name : names) keyed.emplace_back(codec.text_from_fs(name), std::move(name));
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return natural_less(a.first, b.first); });
    std::vector<std::string> paths;
    paths.reserve(keyed.size());
    for (auto& [text, name] : keyed) paths.push_back(folder + name + '/');
    return paths;
}

}  // namespace

TreeWalkReport walk_folder_tree(const std::string& root, const Codec& codec,
                                const TreeFolderSink& sink) {
    TreeWalkReport report;
    std::set<std::pair<std::uint64_t, std::uint64_t>> seen;  // device, inode
    // Folders still to walk; the next one last.
    std::vector<std::string> pending{root.empty() || root.back() != '/' ? root + '/' : root};
    bool at_root = true;
    while (!pending.empty()) {
        std::string folder = std::move(pending.back());
        pending.pop_back();
        FolderContents contents = read_folder_contents(folder, at_root);
        at_root = false;
        if (contents.error != 0) {
            ++report.unreadable;
            if (report.first_unreadable.size() < unreadable_kept)
                report.first_unreadable.push_back({folder, contents.error});
            continue;
        }
        if (!seen.emplace(contents.device, contents.inode).second) continue;
        if (!contents.files.empty()) {
            std::vector<ItemName> names = item_names_from_fs(std::move(contents.files), codec);
            sort_naturally(names);
            sink(folder, std::move(names));
        }
        std::vector<std::string> subfolders =
            ordered_subfolders(folder, std::move(contents.subfolders), codec);
        pending.insert(pending.end(), std::make_move_iterator(subfolders.rbegin()),
                       std::make_move_iterator(subfolders.rend()));
    }
    return report;
}

}  // namespace varnel
