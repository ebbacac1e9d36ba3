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

// The subfolders' names in reverse natural order of their code-page names,
// so that the next one to walk is the last.
std::vector<std::string> subfolders_to_walk(std::vector<std::string> names, const Codec& codec) {
    std::vector<std::pair<std::string, std::string>> keyed;  // text, name
    keyed.reserve(names.size());
    for (std::string& name : names) keyed.emplace_back(codec.text_from_fs(name), std::move(name));
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return natural_less(b.first, a.first); });
    std::vector<std::string> ordered;
    ordered.reserve(keyed.size());
    for (auto& [text, name] : keyed) ordered.push_back(std::move(name));
    return ordered;
}

// One open folder on the way down: its path and the subfolders still to
// walk, the next one last.
struct Level {
    WalkFolder folder;
    std::string path;
    std::vector<std::string> subfolders;
};

class TreeWalk {
public:
    TreeWalk(const Codec& codec, const TreeFolderSink& sink, const std::function<bool()>& stop)
        : codec_(codec), sink_(sink), stop_(stop) {}

    TreeWalkReport walk(const std::string& root) {
        const std::string path = root.empty() || root.back() != '/' ? root + '/' : root;
        int error = 0;
        WalkFolder folder = WalkFolder::open_root(path, error);
        enter(std::move(folder), path, error);
        while (!levels_.empty()) {
            Level& level = levels_.back();
            if (level.subfolders.empty()) {
                levels_.pop_back();
                continue;
            }
            if (stop_ && stop_()) {
                report_.stopped = true;
                break;
            }
            const std::string name = std::move(level.subfolders.back());
            level.subfolders.pop_back();
            WalkFolder sub = level.folder.open_subfolder(name, error);
            enter(std::move(sub), level.path + name + '/', error);
        }
        return std::move(report_);
    }

private:
    // Lists an opened folder, hands its files on and goes down into it.
    void enter(WalkFolder folder, const std::string& path, int open_error) {
        FolderContents contents;
        if (folder.open())
            contents = read_folder_contents(folder);
        else
            contents.error = open_error;
        if (contents.error != 0) {
            ++report_.unreadable;
            if (report_.first_unreadable.size() < unreadable_kept)
                report_.first_unreadable.push_back({path, contents.error});
            return;
        }
        if (!seen_.emplace(contents.device, contents.inode).second) return;
        if (!contents.files.empty()) {
            std::vector<ItemName> names = item_names_from_fs(std::move(contents.files), codec_);
            sort_naturally(names);
            sink_(path, std::move(names));
        }
        if (contents.subfolders.empty()) return;
        levels_.push_back(
            {std::move(folder), path, subfolders_to_walk(std::move(contents.subfolders), codec_)});
    }

    const Codec& codec_;
    const TreeFolderSink& sink_;
    const std::function<bool()>& stop_;
    TreeWalkReport report_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> seen_;  // device, inode
    std::vector<Level> levels_;
};

}  // namespace

TreeWalkReport walk_folder_tree(const std::string& root, const Codec& codec,
                                const TreeFolderSink& sink, const std::function<bool()>& stop) {
    return TreeWalk(codec, sink, stop).walk(root);
}

}  // namespace varnel
