// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/bytes.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::sorted;

using Names = std::vector<std::string>;

class FolderListing : public testing::Test {
protected:
    std::string at(const std::string& name) const { return temp_.path() + name; }
    test::TempDir temp_;
};

TEST_F(FolderListing, ListsEveryNonDirectoryEntry) {
    temp_.write_file("song.mp3");
    temp_.write_file(".hidden");
    temp_.write_file("\xC4\xE3\xBA\xC3.txt");  // not UTF-8
    ASSERT_EQ(mkdir(at("folder").c_str(), 0755), 0);
    temp_.write_file("folder/nested.txt");
    ASSERT_EQ(mkfifo(at("pipe").c_str(), 0644), 0);
    ASSERT_EQ(symlink("song.mp3", at("to-file").c_str()), 0);
    ASSERT_EQ(symlink("folder", at("to-folder").c_str()), 0);
    ASSERT_EQ(symlink("missing", at("dangling").c_str()), 0);

    const auto names = list_folder_files(temp_.path());
    ASSERT_TRUE(names);
    EXPECT_EQ(sorted(*names), sorted({"song.mp3", ".hidden", "\xC4\xE3\xBA\xC3.txt", "pipe",
                                      "to-file", "dangling"}));
}

TEST_F(FolderListing, AcceptsTheFolderWithoutTrailingSlash) {
    temp_.write_file("a");
    std::string folder = temp_.path();
    folder.pop_back();
    EXPECT_EQ(list_folder_files(folder), Names{"a"});
}

TEST_F(FolderListing, EmptyFolderGivesNoNames) {
    ASSERT_EQ(mkdir(at("sub").c_str(), 0755), 0);
    EXPECT_EQ(list_folder_files(at("sub")), Names{});
}

TEST_F(FolderListing, FailsForWhatIsNoFolder) {
    temp_.write_file("file");
    EXPECT_EQ(list_folder_files(at("missing")), std::nullopt);
    EXPECT_EQ(list_folder_files(at("file")), std::nullopt);
    EXPECT_EQ(list_folder_files(temp_.path() + std::string("\0x", 2)), std::nullopt);
}

TEST_F(FolderListing, ListsManyFiles) {
    Names expected;
    for (int i = 0; i < 1000; ++i) {
        expected.push_back("file-" + std::to_string(i) + ".txt");
        temp_.write_file(expected.back());
    }
    const auto names = list_folder_files(temp_.path());
    ASSERT_TRUE(names);
    EXPECT_EQ(sorted(*names), sorted(expected));
}

TEST_F(FolderListing, EntriesFlagFoldersAndKeepHiddenAndLegacyNames) {
    temp_.write_file(".hidden");
    temp_.write_file("\xC4\xE3\xBA\xC3.mp3");
    ASSERT_EQ(mkdir(at("\xD6\xD0").c_str(), 0755), 0);
    ASSERT_EQ(symlink("\xD6\xD0", at("link").c_str()), 0);
    auto entries = list_folder_entries(temp_.path());
    ASSERT_TRUE(entries.has_value());
    std::sort(entries->begin(), entries->end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries->size(), 4u);
    EXPECT_EQ((*entries)[0].name, ".hidden");
    EXPECT_FALSE((*entries)[0].is_folder);
    EXPECT_EQ((*entries)[1].name, "link");
    EXPECT_TRUE((*entries)[1].is_folder);
    EXPECT_EQ((*entries)[2].name, "\xC4\xE3\xBA\xC3.mp3");
    EXPECT_EQ((*entries)[3].name, "\xD6\xD0");
    EXPECT_TRUE((*entries)[3].is_folder);
    EXPECT_TRUE(is_folder(at("\xD6\xD0")));
    EXPECT_FALSE(is_folder(at(".hidden")));
    EXPECT_FALSE(list_folder_entries(at("missing")).has_value());
}

}  // namespace
}  // namespace varnel
