// SPDX-License-Identifier: GPL-3.0-or-later
// How a tag rewrite treats the file system: metadata kept, links, errors
// that must leave the original untouched, temporary files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "id3/id3v2_writer.h"
#include "id3/temp_files.h"
#include "support/mp3_builder.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::in_child;
using test::nobody;

TagFields fields() {
    TagFields f;
    f.title = "New title";
    f.artist = "New artist";
    return f;
}

struct stat stat_of(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info;
}

bool write_tag(const std::string& path) {
    auto file = ByteFile::open_read_write(path);
    return file && write_id3v2_tag(*file, path, fields());
}


bool write_file(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    return static_cast<bool>(
        out.write(content.data(), static_cast<std::streamsize>(content.size())).flush());
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

pid_t dead_pid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

class WriterFsTest : public testing::Test {
protected:
    std::string at(const std::string& name) const { return temp_.path() + name; }
    std::string expected() const { return build_id3v2_tag(fields()) + audio_; }

    test::TempDir temp_;
    const std::string audio_ = test::fake_audio(300000) + test::id3v1_block("v1");
    const std::string old_ = test::id3v2_tag(test::text_frame("TIT2", "Old"), 3) + audio_;
};

TEST_F(WriterFsTest, ModeAndOwnerAreKept) {
    for (const mode_t mode : {0600, 0640, 0444, 02755}) {
        temp_.write_file("song.mp3", old_);
        auto file = ByteFile::open_read_write(at("song.mp3"));
        ASSERT_TRUE(file);
        const bool root = geteuid() == 0;
        if (root) {
            ASSERT_EQ(chown(at("song.mp3").c_str(), nobody, nobody), 0);
        }
        ASSERT_EQ(chmod(at("song.mp3").c_str(), mode), 0);  // after chown, which clears set-id bits
        ASSERT_TRUE(write_id3v2_tag(*file, at("song.mp3"), TagFields{}));
        EXPECT_EQ(temp_.read_file("song.mp3"), build_id3v2_tag(TagFields{}) + audio_);
        const struct stat info = stat_of(at("song.mp3"));
        EXPECT_EQ(info.st_mode & 07777, mode);
        if (root) {
            EXPECT_EQ(info.st_uid, nobody);
            EXPECT_EQ(info.st_gid, nobody);
        }
    }
}

TEST_F(WriterFsTest, ExtendedAttributesAreKept) {
    temp_.write_file("song.mp3", old_);
    const std::string value = "kept";
    if (setxattr(at("song.mp3").c_str(), "user.varnel.test", value.data(), value.size(), 0) != 0)
        GTEST_SKIP() << "no user extended attributes here";
    ASSERT_TRUE(write_tag(at("song.mp3")));
    char seen[16] = {};
    EXPECT_EQ(getxattr(at("song.mp3").c_str(), "user.varnel.test", seen, sizeof seen), 4);
    EXPECT_EQ(std::string(seen), value);
}

TEST_F(WriterFsTest, SymbolicLinkStaysALink) {
    ASSERT_EQ(mkdir(at("music").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(at("links").c_str(), 0700), 0);
    temp_.write_file("music/real.mp3", old_);
    ASSERT_EQ(symlink("../music/real.mp3", at("links/song.mp3").c_str()), 0);
    ASSERT_TRUE(write_tag(at("links/song.mp3")));
    EXPECT_TRUE(S_ISLNK(stat_of(at("links/song.mp3")).st_mode));
    char target[64] = {};
    ASSERT_GT(readlink(at("links/song.mp3").c_str(), target, sizeof target - 1), 0);
    EXPECT_STREQ(target, "../music/real.mp3");
    EXPECT_EQ(temp_.read_file("music/real.mp3"), expected());
    EXPECT_EQ(temp_.names(), (std::vector<std::string>{"links", "music"}));
}

TEST_F(WriterFsTest, HardLinkedFileIsEditedInPlace) {
    temp_.write_file("a.mp3", old_);
    ASSERT_EQ(link(at("a.mp3").c_str(), at("b.mp3").c_str()), 0);
    const ino_t inode = stat_of(at("a.mp3")).st_ino;
    ASSERT_TRUE(write_tag(at("a.mp3")));
    EXPECT_EQ(temp_.read_file("a.mp3"), expected());
    EXPECT_EQ(temp_.read_file("b.mp3"), expected());
    EXPECT_EQ(stat_of(at("a.mp3")).st_ino, inode);
    EXPECT_EQ(stat_of(at("b.mp3")).st_ino, inode);
    auto file = ByteFile::open_read_write(at("b.mp3"));
    ASSERT_TRUE(file);
    ASSERT_TRUE(remove_id3v2_tag(*file, at("b.mp3")).ok);
    EXPECT_EQ(temp_.read_file("a.mp3"), audio_);
    EXPECT_EQ(stat_of(at("a.mp3")).st_ino, inode);
}

// A file size limit makes writes past it fail with EFBIG, like a full disk.
TEST_F(WriterFsTest, WriteErrorLeavesTheOriginal) {
    for (const rlim_t limit : {rlim_t{100}, rlim_t{2000}, rlim_t{200000}}) {
        temp_.write_file("song.mp3", old_);
        const int code = in_child([&] {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit small{limit, limit};
            if (setrlimit(RLIMIT_FSIZE, &small) != 0) return 2;
            return write_tag(at("song.mp3")) ? 1 : 0;
        });
        EXPECT_EQ(code, 0) << limit;
        EXPECT_EQ(temp_.read_file("song.mp3"), old_);
        EXPECT_EQ(temp_.names(), std::vector<std::string>{"song.mp3"});
    }
}

// A real full disk: a small tmpfs in a mount namespace of a child process.
TEST_F(WriterFsTest, FullDiskLeavesTheOriginal) {
    const std::string folder = at("small") + "/";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const int code = in_child([&] {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=512k") != 0)
            return 77;
        const std::string content = test::fake_audio(400000);  // no room for a copy
        if (!write_file(folder + "song.mp3", content)) return 3;
        if (write_tag(folder + "song.mp3")) return 4;
        if (read_file(folder + "song.mp3") != content) return 5;
        return names_in(folder) == std::vector<std::string>{"song.mp3"} ? 0 : 6;
    });
    if (code == 77) GTEST_SKIP() << "cannot mount a tmpfs here";
    EXPECT_EQ(code, 0);
}

TEST_F(WriterFsTest, UnwritableFolderFails) {
    ASSERT_EQ(chmod(temp_.path().c_str(), 0755), 0);
    ASSERT_EQ(mkdir(at("locked").c_str(), 0755), 0);
    temp_.write_file("locked/song.mp3", old_);
    ASSERT_EQ(chmod(at("locked/song.mp3").c_str(), 0666), 0);
    ASSERT_EQ(chmod(at("locked").c_str(), 0555), 0);
    const int code = in_child([&] {
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0)) return 2;
        return write_tag(at("locked/song.mp3")) ? 1 : 0;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(temp_.read_file("locked/song.mp3"), old_);
    ASSERT_EQ(chmod(at("locked").c_str(), 0755), 0);
}

// Only the file's own leftover .varnel-new-<inode> from before the edit
// goes; look-alikes, other files' and inodes' side files and old-style
// names stay.
TEST_F(WriterFsTest, OnlyTheFilesOwnStaleNewFileIsRemoved) {
    temp_.write_file("song.mp3", old_);
    const std::string own =
        ".song.mp3.varnel-new-" + std::to_string(stat_of(at("song.mp3")).st_ino);
    const std::string dead = std::to_string(dead_pid());
    const std::vector<std::string> kept = {
        own.substr(1),                               // no leading dot
        own + ".bak",                                // something else
        own + "0",                                   // another inode
        ".song.mp3.varnel-new",                      // no inode
        ".other.mp3.varnel-new-1",                   // another file's
        ".song.mp3.varnel-tmp-" + dead + "-abc123",  // not a name of ours
        ".song.mp3.varnel-redo-1",                   // another inode's
        ".song.mp3.varnel-undo-x",                   // not an inode
    };
    temp_.write_file(own, "left by a killed edit");
    for (const auto& name : kept) temp_.write_file(name, "x");

    ASSERT_TRUE(write_tag(at("song.mp3")));
    EXPECT_FALSE(temp_.exists(own));
    for (const auto& name : kept) EXPECT_TRUE(temp_.exists(name)) << name;
    EXPECT_EQ(temp_.read_file("song.mp3"), expected());
}

TEST(SideFileNames, FitAFileNameAndOnlyOlderLeftoversAreStale) {
    for (const std::string& name : {std::string("song.mp3"), std::string(255, 'n')}) {
        for (const std::string& side :
             {new_file_name(name, 9), redo_file_name(name, 1234567890123u),
              undo_file_name(name, 7)}) {
            EXPECT_LE(side.size(), 255u);
            EXPECT_EQ(side.substr(0, 5), "." + name.substr(0, 4));
        }
    }
    EXPECT_EQ(new_file_name("song.mp3", 42), ".song.mp3.varnel-new-42");
    EXPECT_EQ(redo_file_name("song.mp3", 42), ".song.mp3.varnel-redo-42");
    EXPECT_EQ(undo_file_name("song.mp3", 42), ".song.mp3.varnel-undo-42");
    struct Case {
        std::optional<std::int64_t> changed;
        bool stale;
    };
    for (const Case& c :
         {Case{std::nullopt, false}, Case{999, true}, Case{1000, false}, Case{1001, false}})
        EXPECT_EQ(is_stale_new_file(c.changed, 1000), c.stale);
}

TEST_F(WriterFsTest, LongestFileNameCanBeRewritten) {
    const std::string name(255, '\xB0');
    temp_.write_file(name, old_);
    ASSERT_TRUE(write_tag(at(name)));
    EXPECT_EQ(temp_.read_file(name), expected());
    EXPECT_EQ(temp_.names(), std::vector<std::string>{name});
}

}  // namespace
}  // namespace varnel
