// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/rename_plan.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace varnel {
namespace {

using Folder = std::map<std::pair<std::uint32_t, std::string>, std::string>;  // name -> content

// Carries the plan out on an in-memory folder with no-replace renames and
// returns the folder afterwards.
Folder run(const std::vector<MoveRequest>& requests, Folder files) {
    const auto temp = [](std::size_t i) { return ".tmp" + std::to_string(i); };
    for (const PlannedMove& m : plan_smart_order(requests)) {
        const MoveRequest& r = requests[m.request];
        const std::string from = m.from_temporary ? temp(m.request) : std::string(r.from);
        const std::string to = m.to_temporary ? temp(m.request) : std::string(r.to);
        const auto source = files.find({r.folder, from});
        if (source == files.end() || files.count({r.folder, to}))
            continue;  // fails, replaces nothing
        files[{r.folder, to}] = source->second;
        files.erase(source);
    }
    return files;
}

Folder folder_of(const std::vector<std::pair<std::uint32_t, std::string>>& names) {
    Folder f;
    for (const auto& n : names) f[n] = "content of " + n.second + std::to_string(n.first);
    return f;
}

TEST(SmartOrder, ChainsSwapsAndCyclesEndWithEveryWantedName) {
    struct Case {
        const char* what;
        std::vector<MoveRequest> requests;
        std::vector<std::pair<std::uint32_t, std::string>> extra;  // files outside the batch
        std::vector<std::pair<std::uint32_t, std::string>>
            expected;  // (folder, name) of each request's content
    };
    const std::vector<Case> cases = {
        {"chain",
         {{0, "a", "b"}, {0, "b", "c"}, {0, "c", "d"}},
         {},
         {{0, "b"}, {0, "c"}, {0, "d"}}},
        {"swap", {{0, "a", "b"}, {0, "b", "a"}}, {}, {{0, "b"}, {0, "a"}}},
        {"three-cycle",
         {{0, "a", "b"}, {0, "b", "c"}, {0, "c", "a"}},
         {},
         {{0, "b"}, {0, "c"}, {0, "a"}}},
        {"four-link chain",
         {{0, "x", "a"}, {0, "a", "b"}, {0, "b", "a2"}, {0, "c", "x"}},
         {},
         {{0, "a"}, {0, "b"}, {0, "a2"}, {0, "x"}}},
        {"same names in two folders",
         {{0, "a", "b"}, {1, "b", "a"}, {0, "b", "a"}},
         {{1, "c"}},
         {{0, "b"}, {1, "a"}, {0, "a"}}},
        {"unchanged item in the middle", {{0, "a", "a"}, {0, "b", "c"}}, {}, {{0, "a"}, {0, "c"}}},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<std::uint32_t, std::string>> names = c.extra;
        for (const MoveRequest& r : c.requests) names.push_back({r.folder, std::string(r.from)});
        const Folder before = folder_of(names);
        const Folder after = run(c.requests, before);
        EXPECT_EQ(after.size(), before.size()) << c.what << ": a file was lost";
        for (std::size_t i = 0; i < c.requests.size(); ++i) {
            const auto it = after.find(c.expected[i]);
            ASSERT_NE(it, after.end()) << c.what << " #" << i;
            EXPECT_EQ(it->second,
                      before.at({c.requests[i].folder, std::string(c.requests[i].from)}))
                << c.what << " #" << i;
        }
    }
}

TEST(SmartOrder, CollisionsAndRepeatsKeepListOrderAndReplaceNothing) {
    // x and y both want "z", which the moving item z frees; x is first.
    const std::vector<MoveRequest> requests = {
        {0, "x", "z"}, {0, "y", "z"}, {0, "z", "w"}, {0, "x", "q"}};
    const Folder before = folder_of({{0, "x"}, {0, "y"}, {0, "z"}, {0, "keep"}});
    const Folder after = run(requests, before);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.at({0, "z"}), before.at({0, "x"}));
    EXPECT_EQ(after.at({0, "y"}), before.at({0, "y"}));
    EXPECT_EQ(after.at({0, "w"}), before.at({0, "z"}));
    EXPECT_FALSE(after.count({0, "q"}));  // x had already moved
}

TEST(SmartOrder, EveryMovingItemIsPlannedOnceAndCycleBreakersTwice) {
    const std::vector<MoveRequest> requests = {
        {0, "a", "b"}, {0, "b", "a"}, {0, "c", "c"}, {0, "d", ""}, {0, "e", "f"}};
    std::multiset<std::size_t> seen;
    int temporaries = 0;
    for (const PlannedMove& m : plan_smart_order(requests)) {
        seen.insert(m.request);
        temporaries += m.to_temporary;
    }
    EXPECT_EQ(seen, (std::multiset<std::size_t>{0, 0, 1, 4}));
    EXPECT_EQ(temporaries, 1);
}

}  // namespace
}  // namespace varnel
