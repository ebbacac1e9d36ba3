// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/name_conflicts.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <unordered_map>

#include "platform/language.h"
#include "rename/name_check.h"

namespace varnel {
namespace {

void fold_ascii_into(std::string_view name, std::string& out) {
    out.assign(name);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

// Texts kept end to end in one buffer, so that a million names cost one
// allocation; views into it are made once every text is in.
class TextArena {
public:
    std::uint32_t add(std::string_view text) {
        ends_.push_back(bytes_.size() + text.size());
        bytes_.append(text);
        return static_cast<std::uint32_t>(ends_.size() - 1);
    }
    std::string_view at(std::uint32_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(bytes_).substr(begin, ends_[index] - begin);
    }

private:
    std::string bytes_;
    std::vector<std::size_t> ends_;
};

// An open-addressing hash index of distinct texts (views the caller keeps
// alive): each text gets the number of its first insertion. Each slot keeps
// half of the text's hash beside its number, so most probes that miss
// touch no text.
class TextIndex {
public:
    static constexpr std::uint32_t none = UINT32_MAX;

    explicit TextIndex(std::size_t expected) {
        std::size_t capacity = 16;
        while (capacity < expected * 2) capacity *= 2;
        slots_.assign(capacity, Slot{none, 0});
        keys_.reserve(expected);
    }
    static std::size_t hash(std::string_view key) { return std::hash<std::string_view>{}(key); }
    // Asks the memory for the first slot of a key of hash `hash`, so that a
    // loop over many keys waits on one slot at a time at most.
    void prefetch(std::size_t hash) const {
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
    }
    // The number of `key` (of hash `hash`), given to it now if it is new.
    std::uint32_t insert(std::string_view key, std::size_t hash) {
        if ((keys_.size() + 1) * 2 > slots_.size()) grow();
        Slot& slot = slots_[probe(key, hash)];
        if (slot.id == none) {
            slot = Slot{static_cast<std::uint32_t>(keys_.size()), tag_of(hash)};
            keys_.push_back(key);
        }
        return slot.id;
    }
    std::uint32_t find(std::string_view key, std::size_t hash) const {
        return slots_[probe(key, hash)].id;
    }

private:
    struct Slot {
        std::uint32_t id;
        std::uint32_t tag;
    };
    static std::uint32_t tag_of(std::size_t hash) {
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(hash) >> 32);
    }
    // The slot holding `key`, or the empty slot where it would go.
    std::size_t probe(std::string_view key, std::size_t hash) const {
        const std::uint32_t tag = tag_of(hash);
        const std::size_t mask = slots_.size() - 1;
        std::size_t at = hash & mask;
        for (; slots_[at].id != none; at = (at + 1) & mask)
            if (slots_[at].tag == tag && keys_[slots_[at].id] == key) break;
        return at;
    }
    void grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.size() * 2, Slot{none, 0});
        for (const Slot& slot : old)
            if (slot.id != none) slots_[probe(keys_[slot.id], hash(keys_[slot.id]))] = slot;
    }

    std::vector<Slot> slots_;
    std::vector<std::string_view> keys_;
};

// What the rows of one folder say about one new name.
struct TargetFacts {
    std::uint32_t rows_getting_it = 0;
    bool exists = false;        // an entry of the folder is called so
    int first_mover = INT_MAX;  // earliest row that moves away from it
};

// One folder's rows with their current and new names as keys (folded
// where the folder folds case).
struct FolderRows {
    std::vector<int> rows;
    std::vector<std::string_view> old_keys;
    std::vector<std::string_view> new_keys;
};

// Calls use(i, hash) for the keys key_at(0 .. count-1) with their hashes,
// the index's slots of later keys fetched ahead.
template <typename KeyAt, typename Use>
void each_hashed(const TextIndex& index, std::size_t count, const KeyAt& key_at, const Use& use) {
    constexpr std::size_t ahead = 16;
    std::vector<std::size_t> hashes(count);
    for (std::size_t i = 0; i < count; ++i) hashes[i] = TextIndex::hash(key_at(i));
    for (std::size_t i = 0; i < count; ++i) {
        if (i + ahead < count) index.prefetch(hashes[i + ahead]);
        use(i, hashes[i]);
    }
}

void check_folder(const FolderRows& f, const FolderNames& folder, RenameOrder order,
                  std::vector<NameConflict>& out) {
    const std::size_t count = f.rows.size();
    TextIndex targets(count);
    std::vector<TargetFacts> facts;
    facts.reserve(count);
    std::vector<std::uint32_t> target_of_row(count);
    const auto new_key = [&](std::size_t i) { return f.new_keys[i]; };
    each_hashed(targets, count, new_key, [&](std::size_t i, std::size_t hash) {
        const std::uint32_t id = targets.insert(f.new_keys[i], hash);
        if (id == facts.size()) facts.emplace_back();
        ++facts[id].rows_getting_it;
        target_of_row[i] = id;
    });
    TextArena folded;  // the folder's names as keys where it folds case
    if (folder.case_insensitive) {
        std::string key;
        for (const std::string& name : folder.names) {
            fold_ascii_into(name, key);
            folded.add(key);
        }
    }
    const auto entry_key = [&](std::size_t i) {
        return folder.case_insensitive ? folded.at(static_cast<std::uint32_t>(i))
                                       : std::string_view(folder.names[i]);
    };
    each_hashed(targets, folder.names.size(), entry_key, [&](std::size_t i, std::size_t hash) {
        const std::uint32_t id = targets.find(entry_key(i), hash);
        if (id != TextIndex::none) facts[id].exists = true;
    });
    const auto old_key = [&](std::size_t i) { return f.old_keys[i]; };
    each_hashed(targets, count, old_key, [&](std::size_t i, std::size_t hash) {
        if (f.old_keys[i] == f.new_keys[i]) return;
        const std::uint32_t id = targets.find(f.old_keys[i], hash);
        if (id != TextIndex::none)
            facts[id].first_mover = std::min(facts[id].first_mover, f.rows[i]);
    });
    for (std::size_t i = 0; i < count; ++i) {
        const TargetFacts& target = facts[target_of_row[i]];
        NameConflict& mark = out[static_cast<std::size_t>(f.rows[i])];
        if (target.rows_getting_it > 1) {
            mark = NameConflict::same_name;
            continue;
        }
        if (f.old_keys[i] == f.new_keys[i] || !target.exists) continue;
        const bool freed = target.first_mover != INT_MAX &&
                           (order == RenameOrder::smart || target.first_mover < f.rows[i]);
        if (!freed) mark = NameConflict::target_exists;
    }
}

NameConflict conflict_of(NameProblem problem) {
    switch (problem) {
        case NameProblem::empty:
            return NameConflict::empty_name;
        case NameProblem::dots:
            return NameConflict::dots;
        case NameProblem::separator:
            return NameConflict::separator;
        case NameProblem::too_long:
            return NameConflict::too_long;
        case NameProblem::none:
            break;
    }
    return NameConflict::none;
}

// The mark of each kind, indexed by NameConflict.
std::vector<std::string> conflict_texts() {
    return {std::string(),
            conflict_same_name(),
            conflict_target_exists(),
            name_problem_text(NameProblem::empty),
            name_problem_text(NameProblem::dots),
            name_problem_text(NameProblem::separator),
            name_problem_text(NameProblem::too_long)};
}

}  // namespace

const std::string& conflict_same_name() {
    return say("名称冲突", "name conflict");
}

const std::string& conflict_target_exists() {
    return say("目标已存在", "target exists");
}

std::vector<NameConflict> find_name_conflicts(const FileList& list, int n, RenameOrder order,
                                              const Codec& codec, const FolderReader& read_folder) {
    n = std::clamp(n, 0, list.item_count());
    std::vector<NameConflict> out(static_cast<std::size_t>(n), NameConflict::none);
    // One group per folder path (rows added at different times share a
    // folder without sharing its index), found once per folder index.
    std::vector<std::uint32_t> group_of_index(list.folder_count(), UINT32_MAX);
    std::unordered_map<std::string_view, std::uint32_t> group_of_path;
    std::vector<std::string_view> group_paths;
    std::vector<std::uint32_t> group_of_row(static_cast<std::size_t>(n));
    // The changed names' file-system spellings; an unchanged one is the
    // item's own (TextArena index UINT32_MAX).
    TextArena spelled;
    std::vector<std::uint32_t> spelling(static_cast<std::size_t>(n), UINT32_MAX);
    std::vector<bool> spellable(static_cast<std::size_t>(n), true);
    for (int row = 0; row < n; ++row) {
        const auto r = static_cast<std::size_t>(row);
        std::uint32_t& group = group_of_index[list.folder_index(row)];
        if (group == UINT32_MAX) {
            const std::string_view path = list.item_folder(row).fs;
            const auto found = group_of_path.try_emplace(path, group_paths.size());
            if (found.second) group_paths.push_back(path);
            group = found.first->second;
        }
        group_of_row[r] = group;
        const std::string& new_name = list.new_names()[r];
        if (new_name == list.old_names()[r]) continue;
        const std::optional<std::string> target = codec.fs_from_text(new_name);
        if (!target) {
            spellable[r] = false;
        } else if (const NameProblem problem = check_new_name(*target);
                   problem != NameProblem::none) {
            out[r] = conflict_of(problem);
            spellable[r] = false;  // never renamed, so no conflict of its own
        } else {
            spelling[r] = spelled.add(*target);
        }
    }
    // The rows of each group, in row order: group g holds
    // by_group[group_start[g] .. group_start[g + 1]).
    std::vector<std::size_t> group_start(group_paths.size() + 1, 0);
    for (const std::uint32_t group : group_of_row) ++group_start[group + 1];
    for (std::size_t g = 1; g < group_start.size(); ++g) group_start[g] += group_start[g - 1];
    std::vector<int> by_group(static_cast<std::size_t>(n));
    {
        std::vector<std::size_t> next(group_start.begin(), group_start.end() - 1);
        for (int row = 0; row < n; ++row)
            by_group[next[group_of_row[static_cast<std::size_t>(row)]]++] = row;
    }
    for (std::uint32_t group = 0; group < group_paths.size(); ++group) {
        const SharedFolderNames folder = read_folder(std::string(group_paths[group]));
        if (!folder) continue;
        FolderRows rows;
        TextArena folded;  // the keys of a folder that folds case
        std::vector<std::pair<std::uint32_t, std::uint32_t>> folded_keys;
        for (std::size_t at = group_start[group]; at < group_start[group + 1]; ++at) {
            const int row = by_group[at];
            const auto r = static_cast<std::size_t>(row);
            if (!spellable[r]) continue;
            const std::string_view current = list.fs_name(row);
            const std::string_view target =
                spelling[r] == UINT32_MAX ? current : spelled.at(spelling[r]);
            rows.rows.push_back(row);
            if (!folder->case_insensitive) {
                rows.old_keys.push_back(current);
                rows.new_keys.push_back(target);
                continue;
            }
            std::string key;
            fold_ascii_into(current, key);
            const std::uint32_t old_key = folded.add(key);
            fold_ascii_into(target, key);
            folded_keys.emplace_back(old_key, folded.add(key));
        }
        for (const auto& [old_key, new_key] : folded_keys) {
            rows.old_keys.push_back(folded.at(old_key));
            rows.new_keys.push_back(folded.at(new_key));
        }
        check_folder(rows, *folder, order, out);
    }
    return out;
}

void show_name_conflicts(FileList& list, const std::vector<NameConflict>& conflicts) {
    const FileList::ChangeBatch batch(list);
    const std::vector<std::string> texts = conflict_texts();
    const int n = static_cast<int>(conflicts.size());
    for (int row = 0; row < list.item_count(); ++row) {
        const NameConflict mark =
            row < n ? conflicts[static_cast<std::size_t>(row)] : NameConflict::none;
        const std::string_view current = list.get_cell(row, Column::rename_status);
        const bool shows_mark =
            !current.empty() && std::find(texts.begin() + 1, texts.end(), current) != texts.end();
        if (mark == NameConflict::none) {
            if (shows_mark) list.set_rename_status(row, {}, StatusImage::none);
            continue;
        }
        const std::string& text = texts[static_cast<std::size_t>(mark)];
        if (current != text) list.set_rename_status(row, text, StatusImage::failure);
    }
}

}  // namespace varnel
