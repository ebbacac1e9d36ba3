// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/byte_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/temp_dir.h"

namespace varnel {
namespace {

class ByteFileTest : public testing::Test {
protected:
    std::string at(const std::string& name) const { return temp_.path() + name; }
    test::TempDir temp_;
};

TEST_F(ByteFileTest, OpeningNeverCreatesAFile) {
    EXPECT_FALSE(ByteFile::open_read(at("missing")));
    EXPECT_FALSE(ByteFile::open_read_write(at("missing")));
    EXPECT_FALSE(temp_.exists("missing"));
    temp_.write_file("a");
    EXPECT_FALSE(ByteFile::open_read(at(std::string("a\0b", 3))));
}

TEST_F(ByteFileTest, ReadsFromThePosition) {
    temp_.write_file("f", "0123456789");
    auto file = ByteFile::open_read(at("f"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->length().value_or(0), 10u);
    char buffer[16] = {};
    ASSERT_TRUE(file->seek(4));
    EXPECT_TRUE(file->read_exact(buffer, 3));
    EXPECT_EQ(std::string(buffer, 3), "456");
    EXPECT_EQ(file->read(buffer, sizeof buffer), 3u);  // only to the end
    EXPECT_EQ(std::string(buffer, 3), "789");
    EXPECT_EQ(file->read(buffer, sizeof buffer), 0u);
    ASSERT_TRUE(file->seek(8));
    EXPECT_FALSE(file->read_exact(buffer, 3));
}

TEST_F(ByteFileTest, WritesTruncatesAndExtends) {
    temp_.write_file("f", "0123456789");
    {
        auto file = ByteFile::open_read_write(at("f"));
        ASSERT_TRUE(file);
        ASSERT_TRUE(file->seek(2));
        EXPECT_TRUE(file->write("ab", 2));
        EXPECT_TRUE(file->write("cd", 2));  // continues where the last write ended
        EXPECT_TRUE(file->truncate(8));
        EXPECT_TRUE(file->sync());
    }
    EXPECT_EQ(temp_.read_file("f"), "01abcd67");
    auto file = ByteFile::open_read_write(at("f"));
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->truncate(10));
    EXPECT_EQ(file->length().value_or(0), 10u);
    EXPECT_EQ(temp_.read_file("f"), std::string("01abcd67\0\0", 10));
}

TEST_F(ByteFileTest, ReportsFailedWrites) {
    temp_.write_file("f", "x");
    auto read_only = ByteFile::open_read(at("f"));
    ASSERT_TRUE(read_only);
    EXPECT_FALSE(read_only->write("y", 1));
    EXPECT_FALSE(read_only->truncate(0));
    EXPECT_EQ(temp_.read_file("f"), "x");

    auto full = ByteFile::open_read_write("/dev/full");
    if (!full) GTEST_SKIP() << "no /dev/full";
    const std::string data(4096, 'd');
    EXPECT_FALSE(full->write(data.data(), data.size()));  // ENOSPC
}

TEST_F(ByteFileTest, MovingHandsOverTheDescriptor) {
    temp_.write_file("a", "A");
    temp_.write_file("b", "B");
    auto a = ByteFile::open_read(at("a"));
    auto b = ByteFile::open_read(at("b"));
    ASSERT_TRUE(a && b);
    ByteFile moved(std::move(*a));
    EXPECT_EQ(a->fd(), -1);
    *b = std::move(moved);
    EXPECT_EQ(moved.fd(), -1);
    char c = 0;
    EXPECT_TRUE(b->read_exact(&c, 1));
    EXPECT_EQ(c, 'A');
}

}  // namespace
}  // namespace varnel
