// SPDX-License-Identifier: GPL-3.0-or-later
// The view model stays consistent with the list through every operation,
// whoever calls the list: Qt's own model checker watches it.

#include "filelist/ui/file_list_model.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "filelist/list_filter.h"
#include "filelist/ui/file_list_view.h"

namespace varnel {
namespace {

TEST(FileListModel, RowsAddedAndRemovedThroughTheListReachTheView) {
    const Codec codec;
    FileList list;
    FileListModel model(list, codec);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    FileListView view;
    view.setModel(&model);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    list.append_items({"/a/", "/a/"}, {{"a.mp3", "a.mp3"}, {"b.txt", "b.txt"}, {"c", "c"}});
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(view.model()->index(2, 0).data().toString(), QStringLiteral("c"));

    list.remove_item(1);
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("c"));

    filter_items(list, FilterOperation::keep, [](std::string_view name) { return name == "c"; });
    EXPECT_EQ(reset.size(), 1);
    EXPECT_EQ(model.rowCount(), 1);

    list.clear();
    EXPECT_EQ(reset.size(), 2);
    EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace varnel
