// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged and malicious files: the readers must stay inside the bytes they
// have, allocate no more than the file holds, and finish quickly.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <string>

#include "id3/id3v1.h"
#include "id3/id3v2_reader.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

// --- Watching the largest allocation ----------------------------------------
// Every operator new of this test program goes through here, so that a test
// can see the largest block requested while it watches.

namespace {

std::atomic<bool> watching{false};
std::atomic<std::size_t> largest_request{0};

void note_request(std::size_t size) {
    if (!watching.load(std::memory_order_relaxed)) return;
    std::size_t seen = largest_request.load();
    while (size > seen && !largest_request.compare_exchange_weak(seen, size)) {
    }
}

void* allocate(std::size_t size) {
    note_request(size);
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

void* allocate_or_null(std::size_t size) noexcept {
    note_request(size);
    return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate_or_null(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate_or_null(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

namespace varnel {
namespace {

using namespace std::string_literals;
using test::fake_audio;
using test::id3v2_frame;
using test::id3v2_tag;
using test::text_frame;

// The largest single allocation made while it lives.
class AllocationWatch {
public:
    AllocationWatch() {
        largest_request = 0;
        watching = true;
    }
    ~AllocationWatch() { watching = false; }
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;
    std::size_t largest() const { return largest_request.load(); }
};

class HostileFilesTest : public ::testing::Test {
protected:
    ByteFile file_with(const std::string& bytes) {
        dir_.write_file("a.mp3", bytes);
        return open();
    }
    ByteFile open() {
        auto file = ByteFile::open_read(dir_.path() + "a.mp3");
        if (!file) throw std::runtime_error("cannot open the test file");
        return std::move(*file);
    }

    // Both readers over `file`; the fields of the ID3v2 reader.
    TagFields read_both(ByteFile& file) {
        TagFields fields;
        // A hostile file may carry either tag or none: what was read counts.
        (void)read_id3v1_tag(file, fields);
        (void)read_id3v2_tag(file, fields, codec_);
        return fields;
    }

    Codec codec_;
    test::TempDir dir_;
};

// These limits tell a linear reader from one that rescans (which would take
// hours on these inputs), not a fast one from a slow one: they count the
// processor time of this process, so a busy machine does not move them.
struct Clock {
    using time_point = std::clock_t;
    static time_point now() { return std::clock(); }
};

double seconds_since(Clock::time_point start) {
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

// A tag whose syncsafe size says 256 MiB - 1.
std::string tag_declaring_256_mib(const std::string& frames) {
    std::string tag = id3v2_tag(frames, 3, 0);
    tag.replace(6, 4, "\x7F\x7F\x7F\x7F");
    return tag;
}

TEST_F(HostileFilesTest, SmallFileDeclaringAHugeTagCostsOnlyItsOwnSize) {
    for (std::size_t file_size : {1024u, 64u * 1024}) {
        std::string bytes = tag_declaring_256_mib(text_frame("TIT2", "Small"));
        bytes += fake_audio(file_size - bytes.size());
        ByteFile file = file_with(bytes);
        TagFields fields;
        AllocationWatch watch;
        ASSERT_TRUE(read_id3v2_tag(file, fields, codec_));
        EXPECT_LE(watch.largest(), file_size + 1) << file_size;  // + a string's terminator
        EXPECT_EQ(fields.title, "Small");
    }
}

TEST_F(HostileFilesTest, TruncatedHeadersAreNoTag) {
    const std::string header = "ID3\x03\x00\x00\x00\x00\x01\x00"s;
    for (std::size_t length = 0; length < header.size(); ++length) {
        ByteFile file = file_with(header.substr(0, length));
        TagFields fields;
        EXPECT_FALSE(read_id3v2_tag(file, fields, codec_)) << length;
        EXPECT_FALSE(has_id3v2_header(file)) << length;
        EXPECT_FALSE(read_id3v1_tag(file, fields)) << length;
    }
}

TEST_F(HostileFilesTest, HeaderAloneIsAnEmptyTag) {
    ByteFile file = file_with("ID3\x03\x00\x00\x00\x00\x01\x00"s);
    TagFields fields;
    fields.title = "before";
    EXPECT_TRUE(read_id3v2_tag(file, fields, codec_));
    EXPECT_EQ(fields, TagFields{});
}

TEST_F(HostileFilesTest, FrameSizesRunningPastTheTagAreCut) {
    std::string frame = text_frame("TPE1", "Artist");
    frame.replace(4, 4, "\x7F\xFF\xFF\xFF");  // about 2 GiB
    ByteFile file = file_with(id3v2_tag(text_frame("TIT2", "T") + frame, 3, 0) + fake_audio(300));
    const TagFields fields = read_both(file);
    EXPECT_EQ(fields.title, "T");
    EXPECT_EQ(fields.artist, "Artist");
}

TEST_F(HostileFilesTest, FrameHeaderCutByTheTagEndGivesNoText) {
    for (const std::string& cut : {"TIT2"s, "TIT2\0\0\0\x05"s, "TIT2\0\0\0\x05\0"s, "TT"s}) {
        const std::string tag = id3v2_tag(cut, 3, 0);
        EXPECT_EQ(find_frame_text(tag, "TIT2", codec_), "") << cut.size();
        ByteFile file = file_with(tag);
        EXPECT_EQ(read_both(file).title, "");
    }
    EXPECT_EQ(find_frame_text(id3v2_tag("TT2\0\0"s, 2, 0), "TT2", codec_), "");
}

TEST_F(HostileFilesTest, FrameSizesWithTheTopBitSetGiveNoText) {
    for (int major : {3, 4, 5, 0xFE}) {
        std::string frame = text_frame("TIT2", "Title");
        frame[4] = '\xFF';
        ByteFile file = file_with(id3v2_tag(frame, major) + fake_audio(100));
        EXPECT_EQ(read_both(file).title, "") << major;
    }
}

TEST_F(HostileFilesTest, LargestVersion22FrameSizeIsCutAtTheTagEnd) {
    ByteFile file = file_with(id3v2_tag("TT2\xFF\xFF\xFF\0Title"s, 2) + fake_audio(100));
    EXPECT_EQ(read_both(file).title, "Title");
}

TEST_F(HostileFilesTest, OddLengthUtf16StaysInside) {
    for (const std::string& data :
         {"\x01"s, "\x01\xFF"s, "\x01\xFF\xFE"s,
          "\x01\xFF\xFE"
          "A"s,
          "\x01\xFE\xFF\0"s, "\x02\0"s, "\x02\0A\0"s, "\x01\xFF\xFE\xFF\xFE\x3D"s}) {
        const std::string tag = id3v2_tag(id3v2_frame("TIT2", data), 3, 0);
        const std::string text = find_frame_text(tag, "TIT2", codec_);
        EXPECT_LE(text.size(), data.size()) << data.size();
        const std::string comment_tag = id3v2_tag(id3v2_frame("COMM", data), 3, 0);
        EXPECT_LE(find_frame_text(comment_tag, "COMM", codec_).size(), data.size());
        const std::string url_tag = id3v2_tag(id3v2_frame("WXXX", data), 3, 0);
        EXPECT_LE(find_frame_text(url_tag, "WXXX", codec_).size(), data.size());
    }
    const std::string tag = id3v2_tag(id3v2_frame("TIT2", "\x01\xFF\xFEO\0k\0\xD8"s), 3, 0);
    EXPECT_EQ(find_frame_text(tag, "TIT2", codec_), "Ok");
}

TEST_F(HostileFilesTest, HalfAMillionTinyFramesAreReadQuickly) {
    for (int major : {2, 3, 4}) {
        std::string frames;
        const std::string tiny = major == 2 ? "TXX\0\0\x01x"s : id3v2_frame("TXXX", "x");
        frames.reserve(tiny.size() * 500'001 + 64);
        for (int i = 0; i < 500'000; ++i) frames += tiny;
        frames += major == 2 ? "TT2\0\0\x05\0Last"s : id3v2_frame("TIT2", "\0Last"s);
        ByteFile file = file_with(id3v2_tag(frames, major) + fake_audio(1000));
        const auto start = Clock::now();
        TagFields fields;
        ASSERT_TRUE(read_id3v2_tag(file, fields, codec_));
        EXPECT_LT(seconds_since(start), 20.0) << major;
        EXPECT_EQ(fields.title, "Last") << major;
        EXPECT_EQ(fields.artist, "") << major;
    }
}

TEST_F(HostileFilesTest, HugeFrameFullOfMarksIsReadQuickly) {
    std::string data = "\x01";
    for (int i = 0; i < 1'000'000; ++i) data += "\xFF\xFE";
    ByteFile file = file_with(id3v2_tag(id3v2_frame("COMM", data), 3, 0));
    const auto start = Clock::now();
    TagFields fields;
    ASSERT_TRUE(read_id3v2_tag(file, fields, codec_));
    EXPECT_LT(seconds_since(start), 20.0);
}

TEST_F(HostileFilesTest, LargeFileWithoutTagsIsNeverScanned) {
    dir_.write_file("a.mp3", "junk");
    std::filesystem::resize_file(dir_.path() + "a.mp3", std::uintmax_t{1} << 32);  // sparse
    ByteFile file = open();
    const auto start = Clock::now();
    TagFields fields;
    EXPECT_FALSE(read_id3v2_tag(file, fields, codec_));
    EXPECT_FALSE(read_id3v1_tag(file, fields));
    EXPECT_FALSE(has_id3v2_header(file));
    EXPECT_LT(seconds_since(start), 1.0);
}

TEST_F(HostileFilesTest, Id3v1FieldsFullOfLeadBytesStayInside) {
    std::string block = "TAG" + std::string(125, '\xFF');
    ByteFile file = file_with(block);
    TagFields fields;
    ASSERT_TRUE(read_id3v1_tag(file, fields));
    EXPECT_EQ(fields.title, std::string(30, '\xFF'));
    EXPECT_EQ(fields.comment, std::string(30, '\xFF'));
    EXPECT_EQ(fields.genre, "255");
}

}  // namespace
}  // namespace varnel
