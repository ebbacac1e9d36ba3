// SPDX-License-Identifier: GPL-3.0-or-later
// The smart order: every row planned first, then the moves in the order
// plan_smart_order gives, so chains and cycles rename.

#include <optional>
#include <random>
#include <set>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "platform/rename_file.h"
#include "rename/batch_rows.h"
#include "rename/batch_texts.h"
#include "rename/name_check.h"
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

// The rows that move, as requests of the plan; each viewed name outlives the
// plan (targets own theirs, the list keeps the others until a row moves).
struct Requests {
    std::vector<MoveRequest> requests;
    std::vector<std::string> targets;    // by request
    std::vector<int> rows;               // by request
    std::vector<const DirHandle*> dirs;  // by request
    std::vector<char> swapping;          // by folder number: swaps names
};

// Sorts the rows into requests, and finishes at once every row that fails
// before any call or keeps its name.
template <typename Finish>
Requests requests_of(const FileList& list, std::span<const int> rows, RowFolders& folders,
                     const Codec& codec, const Finish& finish) {
    Requests r;
    std::vector<std::optional<std::string>> target(rows.size());  // by index into `rows`
    std::size_t moving = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = rows[i];
        int error = 0;
        const DirHandle* dir = folders.of(row, error);
        auto& t = target[i];
        if (dir != nullptr) {
            t = target_fs_name(list, row, list.new_names()[static_cast<std::size_t>(row)], codec);
            if (!t)
                error = EILSEQ;
            else if (const NameProblem problem = check_new_name(*t); problem != NameProblem::none)
                error = name_problem_error(problem);
        }
        if (error != 0 || *t == list.fs_name(row)) {
            t.reset();
            finish(row, error, std::string_view());
        } else {
            ++moving;
        }
    }
    r.requests.reserve(moving);
    r.targets.reserve(moving);
    r.rows.reserve(moving);
    r.dirs.reserve(moving);
    // One number per folder path: rows added at different times share a
    // folder without sharing its index.
    std::unordered_map<std::string_view, std::uint32_t> folder_ids;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = rows[i];
        auto& t = target[i];
        if (!t) continue;
        int error = 0;
        const DirHandle* dir = folders.of(row, error);
        const auto id = folder_ids.try_emplace(list.item_folder(row).fs,
                                               static_cast<std::uint32_t>(folder_ids.size()));
        if (id.second) r.swapping.push_back(can_exchange_names(*dir) ? 1 : 0);
        r.targets.push_back(std::move(*t));
        t.reset();
        r.requests.push_back(MoveRequest{id.first->second, list.fs_name(row), r.targets.back()});
        r.rows.push_back(row);
        r.dirs.push_back(dir);
    }
    return r;
}

// Whether move `i` continues the cycle of swaps of the move before it.
bool continues_cycle(const std::vector<PlannedMove>& plan, std::size_t i) {
    return i > 0 && plan[i].exchange && plan[i - 1].exchange &&
           plan[i].request == plan[i - 1].partner;
}

// The plan's moves from `first`, as many as make a group, with a cycle's
// swaps never split: one past the last.
std::size_t group_end(const std::vector<PlannedMove>& plan, std::size_t first) {
    std::size_t end = std::min(plan.size(), first + group_rows);
    while (end < plan.size() && continues_cycle(plan, end)) ++end;
    return end;
}

}  // namespace

BatchOutcome rename_smart(FileList& list, std::span<const int> rows, UndoLog& log,
                          const Codec& codec, const BatchHooks& hooks) {
    const int count = static_cast<int>(rows.size());
    RowFolders folders(list);
    Progress shown(count, hooks.progress);
    BatchOutcome outcome;
    outcome.count = count;
    int done = 0;
    const auto finish_row = [&](int row, int error, std::string_view stays) {
        if (error == 0) ++outcome.successes;
        show_rename_outcome(list, row, error, codec, stays);
        if (hooks.item_done) hooks.item_done(row);
        shown.item_done(++done);
    };
    Requests r = requests_of(list, rows, folders, codec, finish_row);
    const std::vector<PlannedMove> plan = plan_smart_order(r.requests, r.swapping);

    std::mt19937 random(std::random_device{}());
    std::unordered_map<std::size_t, std::pair<std::string, FileId>> temporary;  // request ->
    std::vector<int> request_error(r.requests.size(), 0);
    std::size_t current = 0;
    const std::optional<ClaimNote> claim = claim_note(hooks, &current);
    std::vector<UndoEntry> group;
    std::size_t cycle_first = 0;            // the request whose name the swaps under way trade
    std::set<std::size_t> under_temporary;  // requests whose file waits under a temporary name
    for (std::size_t first = 0; first < plan.size() && !outcome.cancelled;) {
        const std::size_t end = group_end(plan, first);
        // Every entry of the group before any of its moves: the files are
        // still under the names the requests view.
        group.clear();
        for (std::size_t i = first; i < end; ++i) {
            const PlannedMove& m = plan[i];
            const std::size_t q = m.request;
            const auto row = static_cast<std::size_t>(r.rows[q]);
            if (m.exchange && (i == first || !plan[i - 1].exchange || plan[i - 1].partner != q))
                cycle_first = q;
            const ItemFolder& folder = list.item_folder(r.rows[q]);
            UndoEntry e{folder.fs, folder.text, {}, {}, list.new_names()[row], r.targets[q], {}};
            e.exchange = m.exchange;
            e.fs_name = m.exchange ? r.requests[cycle_first].from : r.requests[q].from;
            if (m.from_temporary) {
                std::tie(e.fs_name, e.file) = temporary.at(q);
            } else {
                // The file is still under its own name: a swap's file too.
                const auto id = file_id_at(*r.dirs[q], std::string(r.requests[q].from));
                if (id)
                    e.file = *id;
                else if (request_error[q] == 0)
                    request_error[q] = id.error().number;
            }
            if (m.to_temporary) {
                auto [slot, added] = temporary.try_emplace(q);
                if (added) slot->second = {temporary_name(r.rows[q], random), e.file};
                e.renamed_fs_name = slot->second.first;
                e.new_name = codec.text_from_fs(e.renamed_fs_name);
            }
            e.name = codec.text_from_fs(e.fs_name);
            group.push_back(std::move(e));
        }
        const int journal_error = hooks.before_renames ? hooks.before_renames(group) : 0;
        for (std::size_t i = first; i < end; ++i) {
            // Stopped only where every file has its old name or its new one:
            // none under a temporary name, no cycle of swaps half done. The
            // journal's entries not reached never happen, which its undo
            // recognises.
            if (i > 0 && under_temporary.empty() && !continues_cycle(plan, i) && done < count &&
                cancel_wanted(hooks, done, count)) {
                outcome.cancelled = true;
                break;
            }
            const PlannedMove& m = plan[i];
            const UndoEntry& e = group[i - first];
            const int row = r.rows[m.request];
            int& error = request_error[m.request];
            // A swap also needs its partner's file where it was.
            if (m.exchange && error == 0) error = request_error[m.partner];
            const bool attempted = error == 0;
            if (error == 0) {
                error = journal_error;
                current = i;
                const DirHandle& dir = *r.dirs[m.request];
                if (error == 0)
                    error = m.exchange
                                ? exchange_names(dir, e.fs_name, e.renamed_fs_name)
                                : rename_no_replace(dir, e.fs_name, e.renamed_fs_name,
                                                    folders.case_memo(), claim ? &*claim : nullptr);
                if (error != 0 && journal_error == 0 && hooks.rename_failed) hooks.rename_failed(i);
                if (error == 0) {
                    list.set_old_name(row, ItemName{e.new_name, e.renamed_fs_name});
                    if (hooks.keep_undo_log) log.entries.push_back(e);
                    if (m.to_temporary) under_temporary.insert(m.request);
                }
            }
            if (m.from_temporary) under_temporary.erase(m.request);
            if (!m.exchange) {
                if (!m.to_temporary)
                    finish_row(row, error,
                               m.from_temporary && error != 0 ? e.fs_name : std::string_view());
                continue;
            }
            // The partner's file now has the traded name; after the cycle's
            // last swap that is its wanted name. A failed swap ends its
            // cycle: the later swaps would hand the wrong file a name.
            const int partner = r.rows[m.partner];
            const bool last =
                i + 1 == end || !plan[i + 1].exchange || plan[i + 1].request != m.partner;
            if (error == 0)
                list.set_old_name(
                    partner, last ? ItemName{list.new_names()[static_cast<std::size_t>(partner)],
                                             r.targets[m.partner]}
                                  : ItemName{e.name, e.fs_name});
            else
                request_error[m.partner] = error;
            // Its file was under the traded name when its own swap failed.
            const bool stays = attempted && error != 0 && m.request != cycle_first;
            finish_row(row, error, stays ? std::string_view(e.fs_name) : std::string_view());
            if (last) finish_row(partner, error, {});
        }
        first = end;
    }
    if (outcome.cancelled) {
        outcome.count = done;
        outcome.summary = cancelled_summary(texts::rename_partial_summary(done, outcome.successes));
        return outcome;
    }
    outcome.summary = outcome.all_succeeded()
                          ? std::string(texts::rename_all_done())
                          : texts::rename_partial_summary(count, outcome.successes);
    return outcome;
}

}  // namespace varnel::batch
