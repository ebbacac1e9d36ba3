// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "filelist/file_list.h"
#include "support/list_builder.h"

namespace varnel {
namespace {

using test::list_of;

// What the rows observer heard, with the item count it saw each time.
struct Heard {
    RowsChange change;
    int count_then;
};

// Every operation that adds or removes rows is told before and after, with
// the rows it touches; operations that change nothing tell nothing.
TEST(RowChanges, EveryAddedOrRemovedRowIsToldBeforeAndAfter) {
    using Kind = RowsChange::Kind;
    struct Case {
        const char* name;
        std::function<void(FileList&)> operation;
        Kind kind;
        int first;
        int count;
        int count_after;
    };
    const Case cases[] = {
        {"append",
         [](FileList& l) {
             l.append_items({"/b/", "/b/"}, {{"x", "x"}, {"y", "y"}});
         },
         Kind::inserted, 3, 2, 5},
        {"remove item 2", [](FileList& l) { l.remove_item(2); }, Kind::removed, 1, 1, 2},
        {"remove selected",
         [](FileList& l) {
             l.select_row(0);
             l.select_row(2);
             l.remove_selected_items();
         },
         Kind::reset, 0, 3, 1},
        {"remove if", [](FileList& l) { l.remove_rows_if([](int row) { return row == 1; }); },
         Kind::reset, 0, 3, 2},
        {"clear", [](FileList& l) { l.clear(); }, Kind::reset, 0, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileList list = list_of("/a", {"1", "2", "3"});
        std::vector<Heard> heard;
        list.set_rows_observer([&](const RowsChange& change) {
            heard.push_back({change, list.item_count()});
        });
        c.operation(list);
        ASSERT_EQ(heard.size(), 2u);
        EXPECT_FALSE(heard[0].change.done);
        EXPECT_TRUE(heard[1].change.done);
        EXPECT_EQ(heard[0].count_then, 3);  // told before anything moved
        EXPECT_EQ(heard[1].count_then, c.count_after);
        EXPECT_EQ(list.item_count(), c.count_after);
        for (const Heard& h : heard) EXPECT_EQ(h.change.kind, c.kind);
        EXPECT_EQ(heard[0].change.first, c.first);
        EXPECT_EQ(heard[0].change.count, c.count);
    }

    // Nothing to add or remove: nothing told.
    FileList list = list_of("/a", {"1"});
    int told = 0;
    list.set_rows_observer([&](const RowsChange&) { ++told; });
    list.append_items({"/b/", "/b/"}, {});
    list.remove_item(5);
    list.remove_selected_items();
    list.remove_rows_if([](int) { return false; });
    list.clear();
    list.clear();
    EXPECT_EQ(told, 2);  // the first clear only
}

}  // namespace
}  // namespace varnel
