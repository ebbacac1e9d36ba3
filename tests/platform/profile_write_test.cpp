// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/profile.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using Names = std::vector<std::string>;

class ProfileWrite : public testing::Test {
protected:
    bool write(std::string_view section, std::string_view key, std::string_view value) const {
        return write_profile_string(path_, section, key, value);
    }
    std::string contents() const { return temp_.read_file("config.ini"); }

    test::TempDir temp_;
    std::string path_ = temp_.path() + "config.ini";
};

TEST_F(ProfileWrite, CreatesTheFileAndSection) {
    ASSERT_TRUE(write("\xD7\xD6\xCC\xE5", "size", "10"));  // 字体
    ASSERT_TRUE(write("\xD7\xD6\xCC\xE5", "name", "\xCB\xCE\xCC\xE5"));
    EXPECT_EQ(contents(), "[\xD7\xD6\xCC\xE5]\nsize=10\nname=\xCB\xCE\xCC\xE5\n");
    EXPECT_EQ(temp_.names(), Names{"config.ini"});  // no temporary file left
}

TEST_F(ProfileWrite, ReplacesOnlyTheKeyLine) {
    const std::string before =
        "; settings\n[a]\nx=1\n  Key = old value ;not a comment\ny=2\n\n[b]\nkey=other\n";
    temp_.write_file("config.ini", before);
    ASSERT_TRUE(write("A", "KEY", "new"));
    EXPECT_EQ(contents(), "; settings\n[a]\nx=1\nKey=new\ny=2\n\n[b]\nkey=other\n");
    EXPECT_EQ(read_profile_string(path_, "a", "key", ""), "new");
}

TEST_F(ProfileWrite, AddsAMissingKeyAfterTheLastKeyOfItsSection) {
    temp_.write_file("config.ini", "[a]\nx=1\n; note\ny=2\n\n; about b\n[b]\nz=3");
    ASSERT_TRUE(write("a", "new", "v"));
    EXPECT_EQ(contents(), "[a]\nx=1\n; note\ny=2\nnew=v\n\n; about b\n[b]\nz=3");
    ASSERT_TRUE(write("b", "w", "4"));  // last line had no line break
    EXPECT_EQ(contents(), "[a]\nx=1\n; note\ny=2\nnew=v\n\n; about b\n[b]\nz=3\nw=4\n");
}

TEST_F(ProfileWrite, AddsAKeyToASectionWithoutKeys) {
    temp_.write_file("config.ini", "[empty]\n; nothing yet\n[next]\nk=v\n");
    ASSERT_TRUE(write("empty", "k", "1"));
    EXPECT_EQ(contents(), "[empty]\nk=1\n; nothing yet\n[next]\nk=v\n");
}

TEST_F(ProfileWrite, AppendsAMissingSection) {
    temp_.write_file("config.ini", "[a]\nx=1");
    ASSERT_TRUE(write("b", "y", "2"));
    EXPECT_EQ(contents(), "[a]\nx=1\n[b]\ny=2\n");
}

TEST_F(ProfileWrite, KeepsCrlfLineEndings) {
    temp_.write_file("config.ini", "[a]\r\nx=1\r\n; c\r\n");
    ASSERT_TRUE(write("a", "x", "2"));
    ASSERT_TRUE(write("a", "y", "3"));
    ASSERT_TRUE(write("b", "z", "4"));
    EXPECT_EQ(contents(), "[a]\r\nx=2\r\ny=3\r\n; c\r\n[b]\r\nz=4\r\n");
}

TEST_F(ProfileWrite, ValuesReadBackAsWritten) {
    const std::string gbk = "\xC4\xE3\xBA\xC3";
    ASSERT_TRUE(write("s", "k", gbk + " x"));
    EXPECT_EQ(read_profile_string(path_, "s", "k", ""), gbk + " x");
    ASSERT_TRUE(write("s", "k", ""));
    EXPECT_EQ(read_profile_string(path_, "s", "k", "default"), "");
}

TEST_F(ProfileWrite, RefusesWhatWouldNotReadBack) {
    temp_.write_file("config.ini", "[s]\nk=1\n");
    EXPECT_FALSE(write("s", "k", "two\nlines"));
    EXPECT_FALSE(write("s", "", "v"));
    EXPECT_FALSE(write("s", "a=b", "v"));
    EXPECT_FALSE(write("s", ";k", "v"));
    EXPECT_FALSE(write("s]", "k", "v"));
    EXPECT_FALSE(write("s\r", "k", "v"));
    EXPECT_EQ(contents(), "[s]\nk=1\n");
}

TEST_F(ProfileWrite, KeepsThePermissionsOfTheFile) {
    temp_.write_file("config.ini", "[s]\nk=1\n");
    ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
    ASSERT_TRUE(write("s", "k", "2"));
    struct stat info {};
    ASSERT_EQ(stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(ProfileWrite, SeveralKeysInOneReplacement) {
    temp_.write_file("config.ini", "; kept\r\n[a]\r\nx=1\r\n");
    ASSERT_EQ(symlink((temp_.path() + "config.ini").c_str(), (temp_.path() + "link.ini").c_str()),
              0);
    const std::string link = temp_.path() + "link.ini";
    EXPECT_TRUE(write_profile_strings(link, {{"a", "x", "2"}, {"b", "y", "3"}, {"a", "z", "4"}}));
    // The link became the file; the file it pointed to is untouched.
    EXPECT_EQ(temp_.read_file("link.ini"), "; kept\r\n[a]\r\nx=2\r\nz=4\r\n[b]\r\ny=3\r\n");
    EXPECT_EQ(contents(), "; kept\r\n[a]\r\nx=1\r\n");

    // One entry that would not read back stops them all.
    EXPECT_EQ(write_profile_strings(path_, {{"a", "x", "5"}, {"a", "k", "two\nlines"}}).error,
              EINVAL);
    EXPECT_EQ(contents(), "; kept\r\n[a]\r\nx=1\r\n");
    EXPECT_EQ(temp_.names(), (Names{"config.ini", "link.ini"}));
}

TEST_F(ProfileWrite, FailsWhenTheFolderIsMissing) {
    EXPECT_FALSE(write_profile_string(temp_.path() + "missing/config.ini", "s", "k", "v"));
    EXPECT_EQ(temp_.names(), Names{});
}

}  // namespace
}  // namespace varnel
