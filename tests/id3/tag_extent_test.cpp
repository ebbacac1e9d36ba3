// SPDX-License-Identifier: GPL-3.0-or-later
// Tags whose declared size runs too far: an edit and a removal keep every
// byte of the audio, or refuse and change nothing. Built cases, then
// seeded fuzzed files of three classes.
#include "id3/tag_extent.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "id3/id3v2_writer.h"
#include "platform/codec.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace std::string_literals;
using test::id3v2_tag;
using test::mpeg_frames;
using test::text_frame;
using test::with_declared_size;

constexpr std::uint32_t largest_size = (1u << 28) - 1;

enum class Outcome { kept, refused, lost };

class TagExtentTest : public ::testing::Test {
protected:
    std::string path() const { return dir_.path() + "song.mp3"; }

    // Sets the title of (or removes the tag of) a file of `bytes` whose
    // audio is `audio` (its last bytes).
    Outcome edit(const std::string& bytes, const std::string& audio, bool remove) {
        dir_.write_file("song.mp3", bytes);
        std::optional<ByteFile> file = ByteFile::open_read_write(path());
        if (!file) return Outcome::lost;
        TagFields fields;
        fields.title = "Fixed";
        const TagEditResult result = remove ? remove_id3v2_tag(*file, path())
                                            : write_id3v2_tag(*file, path(), fields, {}, codec_);
        const std::string after = dir_.read_file("song.mp3");
        if (!result.ok) return after == bytes ? Outcome::refused : Outcome::lost;
        if (remove) return after == audio ? Outcome::kept : Outcome::lost;
        const bool ends_with_audio =
            after.size() >= audio.size() &&
            after.compare(after.size() - audio.size(), audio.size(), audio) == 0;
        return ends_with_audio ? Outcome::kept : Outcome::lost;
    }

    Codec codec_;
    test::TempDir dir_;
};

struct Case {
    const char* what;
    std::string tag;
    std::uint32_t declared;  // the size in the tag's header
    std::string audio;       // what follows the tag
    Outcome expected;        // of the edit and of the removal
};

TEST_F(TagExtentTest, DeclaredSizesRunningTooFarEndAfterTheFramesOrRefuse) {
    const std::string frames = text_frame("TIT2", "Old") + text_frame("TPE1", "Artist");
    const std::string audio = mpeg_frames(8);
    const std::string v1 = test::id3v1_block("v1");
    const auto actual = [](const std::string& tag) {
        return static_cast<std::uint32_t>(tag.size() - 10);
    };
    const std::string padded = id3v2_tag(frames, 3, 20);
    const std::string bare = id3v2_tag(frames, 3, 0);
    const std::string v24 = id3v2_tag(test::id3v2_4_frame("TIT2", "\x03Old"s), 4, 5);
    const std::vector<Case> cases = {
        {"past the end, padding, audio", padded, actual(padded) + 4'000'000, audio, Outcome::kept},
        {"past the end, audio and ID3v1", padded, actual(padded) + 4'000'000, audio + v1,
         Outcome::kept},
        {"past the end, only ID3v1", padded, actual(padded) + 5000, v1, Outcome::kept},
        {"past the end, only padding", padded, actual(padded) + 5000, "", Outcome::kept},
        {"past the frames into the audio", bare, actual(bare) + 1000, audio, Outcome::kept},
        {"v2.4 past the frames into the audio", v24, actual(v24) + 900, audio + v1, Outcome::kept},
        {"huge size, tiny file", bare, largest_size, mpeg_frames(1), Outcome::kept},
        {"past the end, text after the frames", bare, actual(bare) + 5000,
         "This is no audio at all" + audio, Outcome::refused},
        {"frames stop early, audio inside the size", bare + "\x01garbage"s, actual(bare) + 9 + 500,
         audio, Outcome::refused},
        {"past the end, a frame cut by the file's end",
         id3v2_tag(frames + text_frame("TALB", std::string(300, 'a')), 3, 0).substr(0, 120), 5000,
         "", Outcome::refused},
    };
    for (const Case& c : cases) {
        const std::string file = with_declared_size(c.tag, c.declared) + c.audio;
        EXPECT_EQ(edit(file, c.audio, false), c.expected) << c.what;
        EXPECT_EQ(edit(file, c.audio, true), c.expected) << c.what;
    }
}

TEST_F(TagExtentTest, RefusalsSayWhy) {
    const std::string file =
        with_declared_size(id3v2_tag(text_frame("TIT2", "Old"), 3, 0), 5000) + "no audio here";
    dir_.write_file("song.mp3", file);
    std::optional<ByteFile> bytes = ByteFile::open_read_write(path());
    ASSERT_TRUE(bytes);
    const TagEditResult removed = remove_id3v2_tag(*bytes, path());
    EXPECT_FALSE(removed.ok);
    EXPECT_EQ(removed.error.number, tag_end_unknown);
    EXPECT_NE(tag_edit_error_text(removed.error.number).find("where the tag ends is unknown"),
              std::string::npos);
}

// --- Fuzzed files ------------------------------------------------------------

enum class SizeClass { past_end, into_audio, huge_tiny };

struct Fuzzed {
    std::string bytes;
    std::string audio;
};

// A tag of random text frames (version 2.3 or 2.4) and padding before MPEG
// audio (and sometimes an ID3v1 trailer), its declared size then set as the
// class says, and in about a third of the files a few tag bytes changed.
Fuzzed fuzzed_file(SizeClass size_class, std::mt19937& random) {
    const auto pick = [&random](std::uint32_t low, std::uint32_t high) {
        return std::uniform_int_distribution<std::uint32_t>(low, high)(random);
    };
    static constexpr std::array<const char*, 6> ids = {"TIT2", "TPE1", "TALB",
                                                       "COMM", "TXXX", "PRIV"};
    const int major = pick(0, 1) ? 4 : 3;
    std::string frames;
    for (std::uint32_t n = pick(0, 5); n > 0; --n) {
        std::string data = "\0"s;
        for (std::uint32_t i = pick(0, 40); i > 0; --i) data += static_cast<char>(pick(0x20, 0x7E));
        const char* id = ids[pick(0, ids.size() - 1)];
        frames += major == 4 ? test::id3v2_4_frame(id, data) : test::id3v2_frame(id, data);
    }
    std::string tag = id3v2_tag(frames, major, pick(0, 64));
    Fuzzed file;
    file.audio = mpeg_frames(size_class == SizeClass::huge_tiny ? pick(1, 3) : pick(1, 12));
    if (pick(0, 1)) file.audio += test::id3v1_block("v1");
    if (pick(0, 2) == 0 && tag.size() > 10)
        for (std::uint32_t n = pick(1, 3); n > 0; --n)
            tag[pick(10, static_cast<std::uint32_t>(tag.size() - 1))] =
                static_cast<char>(pick(0, 255));
    const auto tag_size = static_cast<std::uint32_t>(tag.size() - 10);
    const auto audio_size = static_cast<std::uint32_t>(file.audio.size());
    std::uint32_t declared = 0;
    switch (size_class) {
        case SizeClass::past_end:
            declared = std::min(largest_size, tag_size + audio_size + pick(1, 1u << 22));
            break;
        case SizeClass::into_audio:
            declared = tag_size + pick(1, audio_size - 1);
            break;
        case SizeClass::huge_tiny:
            declared = pick(1u << 20, largest_size);
            break;
    }
    file.bytes = with_declared_size(tag, declared) + file.audio;
    return file;
}

TEST_F(TagExtentTest, FuzzedOversizedTagsNeverCostAudio) {
    constexpr int files_per_class = 200;
    const std::array<std::pair<SizeClass, const char*>, 3> classes = {{
        {SizeClass::past_end, "declared size past end"},
        {SizeClass::into_audio, "declared size past the frames into audio"},
        {SizeClass::huge_tiny, "huge declared size, tiny file"},
    }};
    std::mt19937 random(20261209);
    for (const auto& [size_class, name] : classes) {
        std::array<int, 3> counts{};  // kept, refused, lost
        for (int n = 0; n < files_per_class; ++n) {
            const Fuzzed file = fuzzed_file(size_class, random);
            if (size_class == SizeClass::huge_tiny) {
                ASSERT_LE(file.bytes.size(), 2048u);
            }
            for (const bool remove : {false, true}) {
                const Outcome outcome = edit(file.bytes, file.audio, remove);
                ++counts[static_cast<std::size_t>(outcome)];
                EXPECT_NE(outcome, Outcome::lost)
                    << name << " #" << n << (remove ? " removal" : " edit");
            }
        }
        std::printf("%s: %d edits and removals, %d kept the audio, %d refused, %d lost it\n", name,
                    2 * files_per_class, counts[0], counts[1], counts[2]);
        EXPECT_GT(counts[0], counts[1]) << name;  // most are mended, not refused
    }
}

}  // namespace
}  // namespace varnel
