// SPDX-License-Identifier: GPL-3.0-or-later
// The cache of folder listings that previews read on every key: a change
// of the folder is always seen, an unchanged old folder is not read again.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "platform/folder_names.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

// Sets the folder's modification time to one fixed moment years back, as
// for a folder nobody has touched for a while.
void age(const std::string& folder) {
    const timespec long_ago{1'600'000'000, 0};
    const timespec times[2] = {long_ago, long_ago};
    ASSERT_EQ(utimensat(AT_FDCWD, folder.c_str(), times, 0), 0);
}

std::vector<std::string> sorted_names(FolderNamesCache& cache, const std::string& folder) {
    const SharedFolderNames read = cache.read(folder);
    if (!read) return {"(unreadable)"};
    std::vector<std::string> names = read->names;
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FolderNamesCache, SeesEveryChangeOfAnAgedFolder) {
    const struct {
        const char* what;
        void (*change)(const test::TempDir& dir);
        std::vector<std::string> after;
    } cases[] = {
        {"added",
         [](const test::TempDir& dir) { dir.write_file("c.txt"); },
         {"a.txt", "b.txt", "c.txt"}},
        {"removed",
         [](const test::TempDir& dir) { std::remove((dir.path() + "a.txt").c_str()); },
         {"b.txt"}},
        {"renamed",
         [](const test::TempDir& dir) {
             std::rename((dir.path() + "a.txt").c_str(), (dir.path() + "z.txt").c_str());
         },
         {"b.txt", "z.txt"}},
    };
    for (const auto& c : cases) {
        const test::TempDir dir;
        dir.write_file("a.txt");
        dir.write_file("b.txt");
        age(dir.path());
        FolderNamesCache cache;
        EXPECT_EQ(sorted_names(cache, dir.path()), (std::vector<std::string>{"a.txt", "b.txt"}))
            << c.what;
        c.change(dir);
        EXPECT_EQ(sorted_names(cache, dir.path()), c.after) << c.what;
    }
}

// An unchanged aged folder comes from the cache: an entry made behind the
// modification time's back (the time put back) is not seen, which shows
// the folder was not read again; a folder changed just now is always read.
TEST(FolderNamesCache, KeepsAnUnchangedAgedFolderAndNeverAFreshOne) {
    const test::TempDir dir;
    dir.write_file("a.txt");
    age(dir.path());
    FolderNamesCache cache;
    EXPECT_EQ(sorted_names(cache, dir.path()), (std::vector<std::string>{"a.txt"}));
    dir.write_file("hidden-by-age.txt");
    age(dir.path());
    EXPECT_EQ(sorted_names(cache, dir.path()), (std::vector<std::string>{"a.txt"}));

    const test::TempDir fresh;
    fresh.write_file("a.txt");
    FolderNamesCache fresh_cache;
    EXPECT_EQ(sorted_names(fresh_cache, fresh.path()), (std::vector<std::string>{"a.txt"}));
    fresh.write_file("b.txt");
    EXPECT_EQ(sorted_names(fresh_cache, fresh.path()),
              (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(sorted_names(fresh_cache, fresh.path() + "missing/"),
              (std::vector<std::string>{"(unreadable)"}));
}

// Adding a folder lists its files (not its subfolders) and keeps the whole
// listing for the conflict marks of the next preview, under the same rule
// as a preview's reading: an aged folder is not read again (a file made
// behind the time's back stays unseen), a fresh one is.
TEST(FolderNamesCache, AddingAFolderListsItsFilesAndKeepsTheListingForThePreview) {
    const struct {
        bool aged;
        std::vector<std::string> read_after;
    } cases[] = {
        {true, {"a.txt", "b.txt", "sub"}},
        {false, {"a.txt", "b.txt", "late.txt", "sub"}},
    };
    for (const auto& c : cases) {
        const test::TempDir dir;
        dir.write_file("a.txt");
        dir.write_file("b.txt");
        ASSERT_EQ(mkdir((dir.path() + "sub").c_str(), 0700), 0);
        if (c.aged) age(dir.path());
        FolderNamesCache cache;
        std::optional<std::vector<std::string>> files = cache.list_files(dir.path());
        ASSERT_TRUE(files);
        std::sort(files->begin(), files->end());
        EXPECT_EQ(*files, (std::vector<std::string>{"a.txt", "b.txt"})) << c.aged;
        dir.write_file("late.txt");
        if (c.aged) age(dir.path());
        EXPECT_EQ(sorted_names(cache, dir.path()), c.read_after) << c.aged;
    }
    FolderNamesCache cache;
    EXPECT_FALSE(cache.list_files("/nonexistent-folder-of-varnel/"));
}

}  // namespace
}  // namespace varnel
