#include "rename/name_conflicts.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "rename/target_name.h"

namespace varnel {
namespace {

std::string fold_ascii(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
}

// One row of a folder: its current and new spelling, compared as keys.
struct RowKeys {
    int row;
    std::string old_key;
    std::string new_key;
    bool moves() const { return new_key != old_key; }
};

void check_folder(const std::vector<RowKeys>& rows, const FolderNames& folder, RenameOrder order,
                  std::vector<NameConflict>& out) {
    // The folder's entries that are new names of these rows: a preview of
    // a few rows of a large folder hashes the rows, not the folder.
    std::unordered_set<std::string_view> wanted;
    for (const RowKeys& r : rows)
        if (r.moves()) wanted.insert(r.new_key);
    std::unordered_set<std::string_view> existing;
    for (const std::string& name : folder.names) {
        if (wanted.empty()) break;
        const std::string folded = folder.case_insensitive ? fold_ascii(name) : std::string();
        const auto found = wanted.find(folder.case_insensitive ? std::string_view(folded)
                                                               : std::string_view(name));
        if (found == wanted.end()) continue;
        existing.insert(*found);
        wanted.erase(found);
    }

    std::unordered_map<std::string_view, int> new_count;
    std::unordered_map<std::string_view, int> first_to_move;  // old key -> earliest row
    for (const RowKeys& r : rows) {
        ++new_count[r.new_key];
        if (r.moves()) first_to_move.try_emplace(r.old_key, r.row);
    }
    for (const RowKeys& r : rows) {
        NameConflict& mark = out[static_cast<std::size_t>(r.row)];
        if (new_count[r.new_key] > 1) {
            mark = NameConflict::same_name;
            continue;
        }
        if (!r.moves() || !existing.count(r.new_key)) continue;
        const auto mover = first_to_move.find(r.new_key);
        const bool freed =
            mover != first_to_move.end() && (order == RenameOrder::smart || mover->second < r.row);
        if (!freed) mark = NameConflict::target_exists;
    }
}

}  // namespace

std::vector<NameConflict> find_name_conflicts(const FileList& list, int n, RenameOrder order,
                                              const Codec& codec, const FolderReader& read_folder) {
    n = std::clamp(n, 0, list.item_count());
    std::vector<NameConflict> out(static_cast<std::size_t>(n), NameConflict::none);
    // Rows grouped by folder path (rows added at different times share a
    // folder without sharing its index), with their names as file-system
    // spellings.
    std::unordered_map<std::string_view, std::vector<std::pair<int, std::string>>> by_folder;
    for (int row = 0; row < n; ++row) {
        const std::string& new_name = list.new_names()[static_cast<std::size_t>(row)];
        std::optional<std::string> target = target_fs_name(list, row, new_name, codec);
        if (target) by_folder[list.item_folder(row).fs].emplace_back(row, std::move(*target));
    }
    for (auto& [folder_path, targets] : by_folder) {
        const std::optional<FolderNames> folder = read_folder(std::string(folder_path));
        if (!folder) continue;
        std::vector<RowKeys> rows;
        rows.reserve(targets.size());
        for (auto& [row, target] : targets) {
            const std::string& current = list.fs_name(row);
            rows.push_back(folder->case_insensitive
                               ? RowKeys{row, fold_ascii(current), fold_ascii(std::move(target))}
                               : RowKeys{row, current, std::move(target)});
        }
        check_folder(rows, *folder, order, out);
    }
    return out;
}

void show_name_conflicts(FileList& list, const std::vector<NameConflict>& conflicts) {
    const FileList::ChangeBatch batch(list);
    const int n = static_cast<int>(conflicts.size());
    for (int row = 0; row < list.item_count(); ++row) {
        const NameConflict mark =
            row < n ? conflicts[static_cast<std::size_t>(row)] : NameConflict::none;
        const std::string_view current = list.get_cell(row, Column::rename_status);
        const bool shows_mark = current == conflict_same_name || current == conflict_target_exists;
        if (mark == NameConflict::none) {
            if (shows_mark) list.set_rename_status(row, {}, StatusImage::none);
            continue;
        }
        const std::string_view text =
            mark == NameConflict::same_name ? conflict_same_name : conflict_target_exists;
        if (current != text) list.set_rename_status(row, std::string(text), StatusImage::failure);
    }
}

}  // namespace varnel
