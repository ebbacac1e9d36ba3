// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rename_plan.h"

#include <string_view>
#include <unordered_map>

namespace varnel {
namespace {

struct NameKey {
    std::uint32_t folder;
    std::string_view name;
    bool operator==(const NameKey&) const = default;
};

struct NameKeyHash {
    std::size_t operator()(const NameKey& k) const noexcept {
        return std::hash<std::string_view>{}(k.name) ^
               (std::size_t{k.folder} * 0x9E3779B97F4A7C15ULL);
    }
};

constexpr std::size_t none = static_cast<std::size_t>(-1);

bool moves(const MoveRequest& r) {
    return !r.to.empty() && r.to != r.from;
}

// blocker[i]: the moving item whose current name item i wants, or none.
std::vector<std::size_t> find_blockers(std::span<const MoveRequest> requests) {
    std::unordered_map<NameKey, std::size_t, NameKeyHash> owner;
    owner.reserve(requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i)
        if (moves(requests[i])) owner.try_emplace(NameKey{requests[i].folder, requests[i].from}, i);
    std::vector<std::size_t> blocker(requests.size(), none);
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (!moves(requests[i])) continue;
        const auto it = owner.find(NameKey{requests[i].folder, requests[i].to});
        if (it != owner.end() && it->second != i) blocker[i] = it->second;
    }
    // A later listing of the same file does not own the name: it waits for
    // nothing and nobody waits for it beyond the first listing.
    return blocker;
}

// Marks the lowest row of every cycle of the blocker graph (each item has at
// most one blocker, so each component holds at most one cycle).
std::vector<char> cycle_breakers(const std::vector<std::size_t>& blocker) {
    enum : char { unseen, on_walk, seen };
    std::vector<char> state(blocker.size(), unseen);
    std::vector<char> breaker(blocker.size(), 0);
    std::vector<std::size_t> walk;
    for (std::size_t start = 0; start < blocker.size(); ++start) {
        walk.clear();
        std::size_t x = start;
        while (x != none && state[x] == unseen) {
            state[x] = on_walk;
            walk.push_back(x);
            x = blocker[x];
        }
        if (x != none && state[x] == on_walk) {
            std::size_t lowest = x;
            for (std::size_t y = blocker[x]; y != x; y = blocker[y]) lowest = std::min(lowest, y);
            breaker[lowest] = 1;
        }
        for (std::size_t y : walk) state[y] = seen;
    }
    return breaker;
}

}  // namespace

std::vector<PlannedMove> plan_smart_order(std::span<const MoveRequest> requests,
                                          std::span<const char> swapping_folders) {
    std::vector<std::size_t> blocker = find_blockers(requests);
    std::vector<char> breaker = cycle_breakers(blocker);

    std::vector<PlannedMove> plan;
    plan.reserve(requests.size());
    std::vector<char> done(requests.size(), 0);
    // Cycles in folders that swap names: the swaps, each cycle's together.
    for (std::size_t first = 0; first < requests.size(); ++first) {
        const std::uint32_t folder = requests[first].folder;
        if (!breaker[first] || folder >= swapping_folders.size() || !swapping_folders[folder])
            continue;
        breaker[first] = 0;
        done[first] = 1;
        std::size_t previous = first;
        for (std::size_t x = blocker[first]; x != first; x = blocker[x]) {
            plan.push_back(PlannedMove{previous, false, false, true, x});
            done[x] = 1;
            previous = x;
        }
    }
    for (std::size_t i = 0; i < requests.size(); ++i)
        if (breaker[i]) plan.push_back(PlannedMove{i, true, false});
    // Once a breaker has moved to its temporary name, its name is free.
    for (std::size_t i = 0; i < requests.size(); ++i)
        if (blocker[i] != none && breaker[blocker[i]]) blocker[i] = none;

    std::vector<std::size_t> chain;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (done[i] || !moves(requests[i])) continue;
        chain.clear();
        for (std::size_t x = i; x != none && !done[x]; x = blocker[x]) {
            done[x] = 1;
            chain.push_back(x);
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
            plan.push_back(PlannedMove{*it, false, breaker[*it] != 0});
    }
    return plan;
}

}  // namespace varnel
