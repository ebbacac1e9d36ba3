// SPDX-License-Identifier: GPL-3.0-or-later
// The smart order: every row planned first, then the moves in the order
// plan_smart_order gives, so chains and cycles rename.

#include <random>
#include <string_view>
#include <unordered_map>

#include "platform/rename_file.h"
#include "rename/batch_rows.h"
#include "rename/batch_texts.h"
#include "rename/target_name.h"

namespace varnel::batch {
namespace {

// A fresh name for a cycle's first file; renaming to it never replaces
// anything, so a clash only fails that item.
std::string temporary_name(int row, std::mt19937& random) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string name = ".varnel-swap-" + std::to_string(row) + "-";
    for (int i = 0; i < 8; ++i) name += hex[random() % 16];
    return name;
}

// The moves of the plan as undo entries, in the order they will be made.
std::vector<UndoEntry> moves_of(const std::vector<PlannedMove>& plan, const Group& all,
                                const std::vector<int>& entry_row, const Codec& codec) {
    std::mt19937 random(std::random_device{}());
    std::unordered_map<std::size_t, std::string> temporary;  // request -> name
    std::vector<UndoEntry> moves;
    moves.reserve(plan.size());
    for (const PlannedMove& m : plan) {
        UndoEntry e = all.entries[m.request];
        if (m.to_temporary || m.from_temporary) {
            auto [slot, added] = temporary.try_emplace(m.request);
            if (added) slot->second = temporary_name(entry_row[m.request], random);
            if (m.to_temporary) {
                e.renamed_fs_name = slot->second;
                e.new_name = codec.text_from_fs(slot->second);
            } else {
                e.fs_name = slot->second;
                e.name = codec.text_from_fs(slot->second);
            }
        }
        moves.push_back(std::move(e));
    }
    return moves;
}

}  // namespace

BatchOutcome rename_smart(FileList& list, UndoLog& log, const Codec& codec,
                          const BatchHooks& hooks) {
    const int count = list.item_count();
    RowFolders folders(list);
    Group all;
    const TargetOf target_of = [&](int row) {
        return target_fs_name(list, row, list.new_names()[static_cast<std::size_t>(row)], codec);
    };
    for (int row = 0; row < count; ++row) plan_row(list, row, folders, target_of, all);

    std::vector<int> entry_row(all.entries.size());
    std::vector<int> entry_fd(all.entries.size());
    std::vector<MoveRequest> requests(all.entries.size());
    // One number per folder path: rows added at different times share a
    // folder without sharing its index.
    std::unordered_map<std::string_view, std::uint32_t> folder_ids;
    for (const Planned& p : all.rows) {
        if (p.error != 0 || p.unchanged) continue;
        entry_row[p.entry] = p.row;
        entry_fd[p.entry] = p.dir_fd;
        const UndoEntry& e = all.entries[p.entry];
        const auto id = folder_ids.try_emplace(list.item_folder(p.row).fs,
                                               static_cast<std::uint32_t>(folder_ids.size()));
        requests[p.entry] = MoveRequest{id.first->second, e.fs_name, e.renamed_fs_name};
    }
    const std::vector<PlannedMove> plan = plan_smart_order(requests);
    std::vector<UndoEntry> moves = moves_of(plan, all, entry_row, codec);

    Progress shown(count, hooks.progress);
    BatchOutcome outcome;
    outcome.count = count;
    int done = 0;
    const auto finish_row = [&](int row, int error) {
        if (error == 0) ++outcome.successes;
        show_rename_outcome(list, row, error, codec);
        if (hooks.item_done) hooks.item_done(row);
        shown.item_done(++done);
    };
    for (const Planned& p : all.rows)
        if (p.error != 0 || p.unchanged) finish_row(p.row, p.error);

    std::vector<int> request_error(requests.size(), 0);
    for (std::size_t first = 0; first < moves.size(); first += group_rows) {
        const std::size_t end = std::min(moves.size(), first + group_rows);
        const std::span<const UndoEntry> chunk(moves.data() + first, end - first);
        const int journal_error = hooks.before_renames ? hooks.before_renames(chunk) : 0;
        for (std::size_t i = first; i < end; ++i) {
            const PlannedMove& m = plan[i];
            const int row = entry_row[m.request];
            int& error = request_error[m.request];
            if (error == 0) {
                error = journal_error;
                if (error == 0)
                    error = rename_no_replace(entry_fd[m.request], moves[i].fs_name,
                                              moves[i].renamed_fs_name);
                if (error != 0 && journal_error == 0 && hooks.rename_failed) hooks.rename_failed(i);
                if (error == 0) {
                    list.set_old_name(row, ItemName{moves[i].new_name, moves[i].renamed_fs_name});
                    if (hooks.keep_undo_log) log.entries.push_back(moves[i]);
                }
            }
            if (!m.to_temporary) finish_row(row, error);
        }
    }
    outcome.summary = outcome.all_succeeded()
                          ? std::string(texts::rename_all_done)
                          : texts::rename_partial_summary(count, outcome.successes);
    return outcome;
}

BatchOutcome undo_smart(FileList& list, const UndoLog& log, const Codec& codec,
                        const BatchHooks& hooks) {
    const int count = list.item_count();
    std::unordered_map<std::string, int> row_of;  // the file each row holds now
    row_of.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        row_of.try_emplace(file_key(list.item_folder(row).fs, list.fs_name(row)), row);
    std::vector<int> result(static_cast<std::size_t>(count), -1);  // -1: nothing undone
    FolderCache folders;
    for (auto it = log.entries.rbegin(); it != log.entries.rend(); ++it) {
        const auto found = row_of.find(file_key(it->fs_folder, it->renamed_fs_name));
        if (found == row_of.end()) continue;
        const int row = found->second;
        int& outcome = result[static_cast<std::size_t>(row)];
        const int error = undo_one(*it, folders);
        if (outcome <= 0) outcome = error;  // the first failure of a row sticks
        if (error != 0) continue;
        list.set_old_name(row, ItemName{it->name, it->fs_name});
        row_of.erase(found);
        row_of.try_emplace(file_key(it->fs_folder, it->fs_name), row);
    }
    Progress shown(count, hooks.progress);
    BatchOutcome outcome;
    outcome.count = count;
    for (int row = 0; row < count; ++row) {
        const int error = result[static_cast<std::size_t>(row)];
        undo_row_done(list, row, error, codec, hooks, shown, outcome);
    }
    set_undo_summary(outcome);
    return outcome;
}

}  // namespace varnel::batch
