// SPDX-License-Identifier: GPL-3.0-or-later
// Tags this program writes, read back by another ID3 implementation
// (Debian's python3-mutagen); skipped where it is not installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "id3/id3v2_reader.h"
#include "id3/id3v2_writer.h"
#include "support/bytes.h"
#include "support/command_output.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::hex;

// Prints one line per frame, "ID=" and the hex of the text's bytes
// (mutagen reads encoding 0 as Latin-1, so encoding back gives the bytes),
// then the version and the tag's length as mutagen sees them. mutagen
// drops frames without text: those print as empty texts, COMM and WXXX as
// "none".
constexpr const char* reader_script = R"(
import sys
from mutagen.id3 import ID3
tags = ID3(sys.argv[1], translate=False, load_v1=False)
def text(frame):
    return frame.text[0] if frame.text else ''
for key in ['TIT2', 'TPE1', 'TALB', 'TRCK', 'TYER', 'TCON', 'TCOM', 'TOPE', 'TCOP', 'TENC']:
    frames = tags.getall(key)
    print(key + '=' + (text(frames[0]).encode('latin-1').hex() if frames else ''))
for comm in tags.getall('COMM') or [None]:
    print('COMM=' + (text(comm).encode('latin-1').hex() + ' ' + comm.lang + ' [' + comm.desc + ']'
                     if comm else 'none'))
for wxxx in tags.getall('WXXX') or [None]:
    print('WXXX=' + (wxxx.url.encode('latin-1').hex() + ' [' + wxxx.desc + ']' if wxxx else 'none'))
print('version=%d.%d' % tags.version[:2])
print('size=%d' % tags.size)
)";

// A Python that has mutagen, or the empty text.
std::string python_with_mutagen() {
    for (const std::string candidate : {"/usr/bin/python3", "python3"}) {
        const std::string probe = candidate + " -c 'import mutagen' >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) return candidate;
    }
    return {};
}

// KEY=VALUE lines printed by the script for the file at `path`.
std::map<std::string, std::string> read_with_mutagen(const std::string& python,
                                                     const test::TempDir& temp,
                                                     const std::string& path) {
    temp.write_file("read.py", reader_script);
    const std::string command = python + " '" + temp.path() + "read.py' '" + path + "'";
    std::map<std::string, std::string> lines;
    for (const std::string& line : test::command_output_lines(command)) {
        const auto equals = line.find('=');
        if (equals != std::string::npos) lines[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return lines;
}

TagFields ascii_fields() {
    return {"Title",
            "Artist",
            "Album",
            "3/12",
            "2004",
            "(17)Rock",
            "Comment text",
            "Composer",
            "Original",
            "Copyright",
            "http://example.org/a",
            "Encoder"};
}

// GBK bytes: 中文标题, 歌手, 专辑, 摇滚, 注释, 作曲, 原唱, 版权, 编码器.
TagFields gbk_fields() {
    return {"\xD6\xD0\xCE\xC4\xB1\xEA\xCC\xE2",
            "\xB8\xE8\xCA\xD6",
            "\xD7\xA8\xBC\xAD",
            "1",
            "1999",
            "\xD2\xA1\xB9\xF6",
            "\xD7\xA2\xCA\xCD",
            "\xD7\xF7\xC7\xFA",
            "\xD4\xAD\xB3\xAA",
            "\xB0\xE6\xC8\xA8",
            "http://example.org/",
            "\xB1\xE0\xC2\xEB\xC6\xF7"};
}

TEST(MutagenReadsWrittenTags, SameTextsAndUntouchedAudio) {
    const std::string python = python_with_mutagen();
    if (python.empty()) GTEST_SKIP() << "python3-mutagen is not installed";
    test::TempDir temp;
    const std::string audio = test::fake_audio(50000) + test::id3v1_block("v1 title");
    const std::string old_tag = test::id3v2_tag(
        test::text_frame("TIT2", "Old") + test::id3v2_frame("APIC", std::string(3000, 'p')), 4,
        100);
    for (const TagFields& f : {ascii_fields(), gbk_fields(), TagFields{}}) {
        temp.write_file("song.mp3", old_tag + audio);
        const std::string path = temp.path() + "song.mp3";
        auto file = ByteFile::open_read_write(path);
        ASSERT_TRUE(file && write_id3v2_tag(*file, path, f));
        auto seen = read_with_mutagen(python, temp, path);
        ASSERT_EQ(seen["version"], "2.3") << f.title;
        EXPECT_EQ(seen["TIT2"], hex(f.title));
        EXPECT_EQ(seen["TPE1"], hex(f.artist));
        EXPECT_EQ(seen["TALB"], hex(f.album));
        EXPECT_EQ(seen["TRCK"], hex(f.track));
        EXPECT_EQ(seen["TYER"], hex(f.year));
        EXPECT_EQ(seen["TCON"], hex(f.genre));
        EXPECT_EQ(seen["TCOM"], hex(f.composer));
        EXPECT_EQ(seen["TOPE"], hex(f.original_artist));
        EXPECT_EQ(seen["TCOP"], hex(f.copyright));
        EXPECT_EQ(seen["TENC"], hex(f.encoder));
        EXPECT_EQ(seen["COMM"], f.comment.empty() ? "none" : hex(f.comment) + " CHS []");
        EXPECT_EQ(seen["WXXX"], f.url.empty() ? "none" : hex(f.url) + " []");
        // The audio starts where mutagen says the tag ends.
        const std::string written = temp.read_file("song.mp3");
        const std::size_t size = std::strtoul(seen["size"].c_str(), nullptr, 10);
        ASSERT_LE(size, written.size());
        EXPECT_EQ(written.substr(size), audio);
    }
}

// Every frame mutagen sees, one line each (sorted), frames without text
// left out: mutagen drops those.
constexpr const char* frames_script = R"(
import sys
from mutagen.id3 import ID3
tags = ID3(sys.argv[1], translate=False, load_v1=False)
lines = []
for frame in tags.values():
    if hasattr(frame, 'text') and not frame.text:
        continue
    lines.append(frame.HashKey + '=' + repr(frame))
print('\n'.join(sorted(lines)))
)";

std::vector<std::string> frames_seen(const std::string& python, const test::TempDir& temp,
                                     const std::string& path) {
    temp.write_file("frames.py", frames_script);
    const std::string command = python + " '" + temp.path() + "frames.py' '" + path + "'";
    return test::command_output_lines(command);
}

// A title edit of a file with a picture, lyrics, ReplayGain, a rating and a
// UTF-16 artist: mutagen sees every frame but the title exactly as before.
TEST(MutagenReadsWrittenTags, TitleEditLeavesEveryOtherFrameAsItWas) {
    const std::string python = python_with_mutagen();
    if (python.empty()) GTEST_SKIP() << "python3-mutagen is not installed";
    using namespace std::string_literals;
    test::TempDir temp;
    const std::string frames =
        test::text_frame("TIT2", "Old") +
        test::id3v2_frame("TPE1", "\x01\xFF\xFE\x4C\x6B\x4B\x62"s) +
        test::id3v2_frame("APIC", "\0image/png\0\x03\0"s + std::string(900, '\x89')) +
        test::id3v2_frame("USLT",
                          "\x01"
                          "eng\xFF\xFE\0\0\xFF\xFEl\0a\0"s) +
        test::id3v2_frame("TXXX", "\0replaygain_track_gain\0-6.50 dB"s) +
        test::id3v2_frame("POPM", "a@b.c\0\xC4\0\0\0\x07"s);
    for (const std::size_t padding : {std::size_t{2000}, std::size_t{0}}) {  // in place, rewrite
        temp.write_file("song.mp3", test::id3v2_tag(frames, 3, padding) + test::fake_audio(5000));
        const std::string path = temp.path() + "song.mp3";
        std::vector<std::string> before = frames_seen(python, temp, path);
        auto file = ByteFile::open_read_write(path);
        ASSERT_TRUE(file);
        Codec codec;
        TagFields fields;
        ASSERT_TRUE(read_id3v2_tag(*file, fields, codec));
        fields.title = "New";
        ASSERT_TRUE(write_id3v2_tag(*file, path, fields, {}, codec).ok);
        std::vector<std::string> after = frames_seen(python, temp, path);
        ASSERT_EQ(before.size(), 6u);
        ASSERT_EQ(after.size(), 6u);
        EXPECT_NE(std::find(after.begin(), after.end(),
                            "TIT2=TIT2(encoding=<Encoding.LATIN1: 0>, text=['New'])"),
                  after.end());
        std::erase_if(before, [](const std::string& line) { return line.starts_with("TIT2"); });
        std::erase_if(after, [](const std::string& line) { return line.starts_with("TIT2"); });
        EXPECT_EQ(after, before) << padding;
        // The artist's bytes are those of the old frame.
        EXPECT_NE(temp.read_file("song.mp3").find(frames.substr(14, 17)), std::string::npos);
    }
}

// Title, artist, album and comment as another reader shows them, one line
// each, as UTF-8 hex.
constexpr const char* texts_script = R"(
import sys, logging
tool, path = sys.argv[1], sys.argv[2]
def out(texts):
    for text in texts:
        print((text or '').encode('utf-8').hex())
if tool == 'mutagen':
    from mutagen.id3 import ID3
    t = ID3(path, translate=False, load_v1=False)
    first = lambda key: str(t.getall(key)[0].text[0]) if t.getall(key) else ''
    out([first('TIT2'), first('TPE1'), first('TALB'), first('COMM')])
else:
    import eyed3.id3
    logging.getLogger('eyed3').setLevel(logging.ERROR)
    t = eyed3.id3.Tag()
    t.parse(path)
    out([t.title, t.artist, t.album, t.comments[0].text if len(t.comments) else ''])
)";

std::vector<std::string> texts_seen(const std::string& python, const std::string& tool,
                                    const test::TempDir& temp, const std::string& path) {
    temp.write_file("texts.py", texts_script);
    const std::string command =
        python + " '" + temp.path() + "texts.py' " + tool + " '" + path + "' 2>/dev/null";
    return test::command_output_lines(command);
}

// Chinese texts written with either setting, read by mutagen and eyeD3:
// "Unicode" gives them exactly; "GBK" gives the code-page bytes as Latin-1
// (encoding 0 is Latin-1 to every other reader), ASCII texts exactly.
TEST(OtherReadersReadWrittenTags, UnicodeTextsExactlyGbkAsLatin1) {
    const std::string python = python_with_mutagen();
    if (python.empty()) GTEST_SKIP() << "python3-mutagen is not installed";
    test::TempDir temp;
    Codec codec;
    const TagFields f = gbk_fields();
    const std::vector<std::string> utf8 = {"中文标题", "歌手", "专辑", "注释"};
    for (const V2TextEncoding encoding : {V2TextEncoding::code_page, V2TextEncoding::unicode}) {
        temp.write_file("song.mp3", test::fake_audio(3000));
        const std::string path = temp.path() + "song.mp3";
        auto file = ByteFile::open_read_write(path);
        ASSERT_TRUE(file);
        ASSERT_TRUE(write_id3v2_tag(*file, path, f, {encoding, false}, codec).ok);
        for (const std::string tool : {"mutagen", "eyed3"}) {
            const std::vector<std::string> seen = texts_seen(python, tool, temp, path);
            if (tool == "eyed3" && seen.empty()) continue;  // eyeD3 not installed
            ASSERT_EQ(seen.size(), 4u) << tool;
            const std::vector<std::string> bytes = {f.title, f.artist, f.album, f.comment};
            for (std::size_t i = 0; i < 4; ++i) {
                const std::string expected =
                    encoding == V2TextEncoding::unicode ? utf8[i] : test::latin1_to_utf8(bytes[i]);
                EXPECT_EQ(seen[i], hex(expected)) << tool << ' ' << i;
            }
        }
    }
}

}  // namespace
}  // namespace varnel
