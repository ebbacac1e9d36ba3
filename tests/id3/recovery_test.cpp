// SPDX-License-Identifier: GPL-3.0-or-later
// An edit interrupted by a crash is finished by the next tag operation on
// the file: a finished copy is rolled forward, an in-place edit is rolled
// back unless its new bytes are all there; side files of other files or
// inodes are left alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <string>

#include "id3/safe_rewrite.h"
#include "id3/temp_files.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

std::uint64_t inode_of(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    return info.st_ino;
}

TEST(Recovery, FinishesOrUndoesWhatACrashLeft) {
    const std::string old_file =
        test::id3v2_tag(test::text_frame("TIT2", "Old"), 3, 40) + test::fake_audio(4000);
    const std::string new_head = test::id3v2_tag(test::text_frame("TIT2", "New title"), 3, 34);
    const std::string new_file = new_head + old_file.substr(new_head.size());
    const std::string torn = new_head.substr(0, 20) + old_file.substr(20);
    struct Case {
        const char* what;
        std::string on_disk;
        std::string side_kind;  // "redo", "undo", "cut", "other-inode"
        std::string side;
        std::string after;
        bool side_left;
    };
    const std::vector<Case> cases = {
        {"finished copy of a linked file", torn, "redo", new_file, new_file, false},
        {"torn in-place edit", torn, "undo",
         undo_record(old_file.substr(0, new_head.size()), new_head), old_file, false},
        {"in-place edit that got through", new_file, "undo",
         undo_record(old_file.substr(0, new_head.size()), new_head), new_file, false},
        {"record cut short before the edit", old_file, "cut",
         undo_record(old_file.substr(0, new_head.size()), new_head).substr(0, 30), old_file, false},
        {"another inode's copy", old_file, "other-inode", new_file, old_file, true},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        dir.write_file("song.mp3", c.on_disk);
        const std::string path = dir.path() + "song.mp3";
        ASSERT_EQ(link(path.c_str(), (dir.path() + "b.mp3").c_str()), 0);
        const std::uint64_t inode = inode_of(path);
        const std::string side = c.side_kind == "redo" ? redo_file_name("song.mp3", inode)
                                 : c.side_kind == "other-inode"
                                     ? redo_file_name("song.mp3", inode + 1)
                                     : undo_file_name("song.mp3", inode);
        dir.write_file(side, c.side);
        std::optional<ByteFile> file = ByteFile::open_read_write(path);
        ASSERT_TRUE(file && recover_file_edit(*file, path)) << c.what;
        EXPECT_EQ(dir.read_file("song.mp3"), c.after) << c.what;
        EXPECT_EQ(dir.read_file("b.mp3"), c.after) << c.what;
        EXPECT_EQ(dir.exists(side), c.side_left) << c.what;
        EXPECT_EQ(inode_of(path), inode) << c.what;
    }
}

// The record of a small in-place edit kept in the file's attribute
// user.varnel.undo: magic, offset, FNV-1a hash of the new bytes, old bytes.
std::string attribute_record(std::uint64_t offset, std::string_view old_bytes,
                             std::string_view new_bytes) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const char c : new_bytes) hash = (hash ^ static_cast<std::uint8_t>(c)) * 1099511628211ull;
    std::string record = "VNLUNDA1";
    for (const std::uint64_t value : {offset, hash})
        for (int shift = 56; shift >= 0; shift -= 8)
            record += static_cast<char>((value >> shift) & 0xFF);
    return record + std::string(old_bytes);
}

TEST(Recovery, UndoAttributeRollsBackATornEdit) {
    const std::string old_file =
        test::id3v2_tag(test::text_frame("TIT2", "Old one"), 3, 40) + test::fake_audio(4000);
    std::string new_file = old_file;
    new_file.replace(21, 3, "New");
    std::string torn = old_file;
    torn[21] = 'N';
    const std::string record = attribute_record(21, "Old", "New");
    struct Case {
        const char* what;
        std::string on_disk;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"torn in-place edit", torn, old_file},
        {"in-place edit that got through", new_file, new_file},
        {"record set, nothing written yet", old_file, old_file},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        dir.write_file("song.mp3", c.on_disk);
        const std::string path = dir.path() + "song.mp3";
        if (setxattr(path.c_str(), "user.varnel.undo", record.data(), record.size(), 0) != 0)
            GTEST_SKIP() << "no user extended attributes here";
        std::optional<ByteFile> file = ByteFile::open_read_write(path);
        ASSERT_TRUE(file && recover_file_edit(*file, path)) << c.what;
        EXPECT_EQ(dir.read_file("song.mp3"), c.after) << c.what;
        EXPECT_LT(getxattr(path.c_str(), "user.varnel.undo", nullptr, 0), 0) << c.what;
    }
}

TEST(Recovery, OnlyLinksToMp3NamesAreWritten) {
    test::TempDir dir;
    dir.write_file("a.MP3");
    dir.write_file("notes.txt");
    ASSERT_EQ(symlink("a.MP3", (dir.path() + "x.mp3").c_str()), 0);
    ASSERT_EQ(symlink("notes.txt", (dir.path() + "y.mp3").c_str()), 0);
    EXPECT_TRUE(leads_to_mp3_name(dir.path() + "a.MP3"));
    EXPECT_TRUE(leads_to_mp3_name(dir.path() + "x.mp3"));
    EXPECT_FALSE(leads_to_mp3_name(dir.path() + "y.mp3"));
    EXPECT_FALSE(leads_to_mp3_name(dir.path() + "missing.mp3"));
}

}  // namespace
}  // namespace varnel
