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
#include "id3/tag_edit.h"
#include "platform/codec.h"
#include "support/child_process.h"
#include "support/mp3_builder.h"
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

// Why a write failed reaches the caller as the system's error number,
// whichever step of the crash-safe rewrite met it.
TEST_F(WriterFsTest, FailedWritesNameTheirReason) {
    const std::string small = at("small") + "/";
    ASSERT_EQ(mkdir(small.c_str(), 0700), 0);
    ASSERT_EQ(chmod(temp_.path().c_str(), 0755), 0);
    ASSERT_EQ(mkdir(at("locked").c_str(), 0755), 0);
    struct Case {
        const char* what;
        std::string path;
        std::function<bool()> prepare;  // in the child; false: skip
        int error;
    };
    const std::vector<Case> cases{
        {"a full small tmpfs", small + "song.mp3",
         [&] {
             // No room for the rewritten copy beside the file.
             return unshare(CLONE_NEWNS) == 0 &&
                    mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                    mount("tmpfs", small.c_str(), "tmpfs", 0, "size=512k") == 0 &&
                    write_file(small + "song.mp3", test::fake_audio(400000));
         },
         ENOSPC},
        {"a file size limit", at("limited.mp3"),
         [&] {
             signal(SIGXFSZ, SIG_IGN);
             const rlimit limit{2000, 2000};
             return setrlimit(RLIMIT_FSIZE, &limit) == 0;
         },
         EFBIG},
        {"a folder the user may not write", at("locked/song.mp3"),
         [&] { return geteuid() != 0 || (setgid(nobody) == 0 && setuid(nobody) == 0); }, EACCES},
    };
    temp_.write_file("limited.mp3", old_);
    temp_.write_file("locked/song.mp3", old_);
    ASSERT_EQ(chmod(at("locked/song.mp3").c_str(), 0666), 0);
    ASSERT_EQ(chmod(at("locked").c_str(), 0555), 0);
    for (const Case& c : cases) {
        const int code = in_child([&] {
            if (!c.prepare()) return 254;
            auto file = ByteFile::open_read_write(c.path);
            if (!file) return 253;
            TagChanges changes;
            changes.v2 = TagChange::write;
            changes.v2_fields = fields();
            const TagEditResult result = edit_tags(*file, c.path, changes, Codec());
            return result.ok ? 0 : result.error.number;
        });
        if (code == 254) continue;  // no tmpfs can be mounted here
        EXPECT_EQ(code, c.error) << c.what << ": " << tag_edit_error_text(code);
    }
    EXPECT_EQ(temp_.read_file("limited.mp3"), old_);
    EXPECT_EQ(temp_.read_file("locked/song.mp3"), old_);
    ASSERT_EQ(chmod(at("locked").c_str(), 0755), 0);
}

// Files that look like an edit's leftovers beside the file, and an undo
// attribute on it, are neither read nor applied nor removed, and do not
// stop the edit: an edit's records live only in the user's private folder.
TEST_F(WriterFsTest, PlantedSideFilesAndAttributesAreInert) {
    temp_.write_file("song.mp3", old_);
    const std::string inode = std::to_string(stat_of(at("song.mp3")).st_ino);
    const std::vector<std::pair<std::string, std::string>> planted = {
        {".song.mp3.varnel-redo-" + inode, std::string(512, 'R')},
        {".song.mp3.varnel-undo-" + inode, "VNLUNDO1" + std::string(4800, 'U')},
        {".song.mp3.varnel-new-" + inode, std::string(700, 'N')},
    };
    for (const auto& [name, content] : planted) temp_.write_file(name, content);
    ASSERT_EQ(mkfifo(at(".song.mp3.varnel-new-" + inode + "0").c_str(), 0600), 0);
    temp_.write_file("notes.txt", "notes");
    ASSERT_EQ(symlink("notes.txt", at(".song.mp3.varnel-redo-" + inode + "0").c_str()), 0);
    const std::string attribute = "VNLUNDA1" + std::string(16, '\0') + "XXXX";
    const bool has_attribute = setxattr(at("song.mp3").c_str(), "user.varnel.undo",
                                        attribute.data(), attribute.size(), 0) == 0;
    ASSERT_TRUE(write_tag(at("song.mp3")));
    EXPECT_EQ(temp_.read_file("song.mp3"), expected());
    for (const auto& [name, content] : planted) EXPECT_EQ(temp_.read_file(name), content) << name;
    EXPECT_EQ(temp_.read_file("notes.txt"), "notes");
    if (has_attribute) {
        // Carried to the new file like any other attribute, and still inert.
        ASSERT_TRUE(write_tag(at("song.mp3")));
        EXPECT_EQ(temp_.read_file("song.mp3"), expected());
    }
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
