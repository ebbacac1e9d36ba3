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
    std::optional<FolderNames> read = cache.read(folder);
    if (!read) return {"(unreadable)"};
    std::sort(read->names.begin(), read->names.end());
    return read->names;
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

}  // namespace
}  // namespace varnel
