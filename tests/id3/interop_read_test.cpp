// SPDX-License-Identifier: GPL-3.0-or-later
// Tags written by other programs (mutagen and eyeD3, driven through
// python3) read by our readers. Skipped where python3 or the library is
// missing; Debian packages: python3-mutagen, eyed3.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cctype>
#include <cerrno>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "id3/id3v1.h"
#include "id3/id3v2_reader.h"
#include "support/temp_dir.h"

extern char** environ;

namespace varnel {
namespace {

// Arguments: tool (mutagen or eyed3), path, ID3v2 major version, encoding
// byte, 1 to add an ID3v1 tag. Writes the file; exits with 77 when the
// tool cannot be imported. Non-ASCII texts are spelled as escapes so that
// the script does not depend on how the locale decodes arguments.
constexpr int tool_missing = 77;
constexpr const char* writer_script = R"PY(
import logging, sys
tool, path = sys.argv[1], sys.argv[2]
version, encoding, v1 = int(sys.argv[3]), int(sys.argv[4]), sys.argv[5] == '1'
try:
    __import__(tool)
except ImportError:
    sys.exit(77)

def texts(wide):
    return dict(
        title='Title \u4e2d\u6587' if wide else 'Title',
        artist='Artist \u6b4c\u624b' if wide else 'Artist',
        album='\u4e13\u8f91' * 70 if wide else 'Album ' * 25,
        comment='Comment \u8bc4\u8bba' if wide else 'Comment',
        composer='Composer \u4f5c\u66f2' if wide else 'Composer',
        original='Original \U0001f3b5' if wide else 'Original',
        copyright='(c) \u7248\u6743' if wide else '(c) Someone',
        encoder='Encoder \u7f16\u7801' if wide else 'Encoder',
        url='http://example.org/x')

def audio(path):
    with open(path, 'wb') as out:
        out.write(b'\xff\xfb\x90\x00' + bytes(range(256)) * 64)

def with_mutagen(path, version, encoding, v1):
    from mutagen.id3 import (ID3, TIT2, TPE1, TALB, TYER, TDRC, TRCK, TCON, COMM, TOPE,
                             TCOP, TCOM, WXXX, TENC)
    t = texts(encoding != 0)
    tags = ID3()
    for frame, text in ((TIT2, t['title']), (TPE1, t['artist']), (TALB, t['album']),
                        (TYER if version == 3 else TDRC, '2001'), (TRCK, '3/12'),
                        (TCON, '(17)Rock'), (TOPE, t['original']), (TCOP, t['copyright']),
                        (TCOM, t['composer']), (TENC, t['encoder'])):
        tags.add(frame(encoding=encoding, text=text))
    tags.add(COMM(encoding=encoding, lang='eng', desc='note', text=t['comment']))
    tags.add(WXXX(encoding=encoding, desc='home', url=t['url']))
    tags.save(path, v2_version=version, v1=2 if v1 else 0)

def with_eyed3(path, version, encoding, v1):
    import eyed3, eyed3.id3
    logging.getLogger('eyed3').setLevel(logging.ERROR)
    t = texts(encoding != 0)
    tag = eyed3.id3.Tag()
    tag.title, tag.artist, tag.album = t['title'], t['artist'], t['album']
    tag.track_num = (3, 12)
    tag.genre = 'Rock'
    tag.recording_date = eyed3.core.Date(2001)
    tag.comments.set(t['comment'], description='note', lang=b'eng')
    tag.original_artist, tag.composer, tag.encoded_by = t['original'], t['composer'], t['encoder']
    tag.setTextFrame(b'TCOP', t['copyright'])
    tag.user_url_frames.set(t['url'], description='home')
    names = {0: 'latin1', 1: 'utf16', 2: 'utf16-be', 3: 'utf8'}
    tag.save(path, version=(2, version, 0), encoding=names[encoding])
    if v1:
        tag.save(path, version=(1, 1, 0))

audio(path)
(with_mutagen if tool == 'mutagen' else with_eyed3)(path, version, encoding, v1)
)PY";

// Runs `program` with `args` and waits: its exit status, nullopt when it
// could not be started or did not exit.
std::optional<int> run(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return std::nullopt;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return std::nullopt;
    }
    if (!WIFEXITED(status)) return std::nullopt;
    return WEXITSTATUS(status);
}

struct Written {
    std::string tool;
    int version;   // 3 or 4
    int encoding;  // the frames' encoding byte
    bool with_v1;

    std::string file_name() const {
        return tool + "-v2" + std::to_string(version) + "-enc" + std::to_string(encoding) +
               (with_v1 ? "-v1" : "") + ".mp3";
    }
};

std::ostream& operator<<(std::ostream& out, const Written& written) {
    return out << written.file_name();
}

std::string repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

// What our ID3v2 reader must give (UTF-8; compared in the code page).
TagFields expected_v2(const Written& written) {
    const bool wide = written.encoding != 0;
    const bool eyed3 = written.tool == "eyed3";
    TagFields fields;
    fields.title = wide ? "Title 中文" : "Title";
    fields.artist = wide ? "Artist 歌手" : "Artist";
    fields.album = wide ? repeat("专辑", 70) : repeat("Album ", 25);
    fields.track = eyed3 ? "03/12" : "3/12";
    // Version 2.4 keeps the year in TDRC, read where TYER is missing.
    fields.year = "2001";
    fields.genre = "Rock";
    fields.comment = wide ? "Comment 评论" : "Comment";
    fields.composer = wide ? "Composer 作曲" : "Composer";
    fields.original_artist = wide ? "Original 🎵" : "Original";
    fields.copyright = wide ? "(c) 版权" : "(c) Someone";
    fields.url = "http://example.org/x";
    fields.encoder = wide ? "Encoder 编码" : "Encoder";
    return fields;
}

TagFields in_code_page(const TagFields& utf8, const Codec& codec) {
    TagFields fields;
    for (auto member :
         {&TagFields::title, &TagFields::artist, &TagFields::album, &TagFields::track,
          &TagFields::year, &TagFields::genre, &TagFields::comment, &TagFields::composer,
          &TagFields::original_artist, &TagFields::copyright, &TagFields::url, &TagFields::encoder})
        fields.*member = codec.from_utf8(utf8.*member).value();
    return fields;
}

class InteropReadTest : public ::testing::TestWithParam<Written> {
protected:
    // Writes the file of the test's parameter with python3; false when no
    // python3 can import the tool. Debian's python3 comes first: the one on
    // PATH may be a private one without Debian's packages.
    bool write_file() {
        const Written& written = GetParam();
        const std::vector<std::string> args{"-c",
                                            writer_script,
                                            written.tool,
                                            path(),
                                            std::to_string(written.version),
                                            std::to_string(written.encoding),
                                            written.with_v1 ? "1" : "0"};
        for (const std::string python : {"/usr/bin/python3", "python3"}) {
            const std::optional<int> status = run(python, args);
            if (status == 0) return true;
            if (status && *status != tool_missing)
                throw std::runtime_error("the writer script failed");
        }
        return false;
    }
    std::string path() const { return dir_.path() + GetParam().file_name(); }

    Codec codec_;
    test::TempDir dir_;
};

TEST_P(InteropReadTest, ReadsTheirTexts) {
    if (!write_file()) GTEST_SKIP() << "no python3 with " << GetParam().tool;
    std::optional<ByteFile> file = ByteFile::open_read(path());
    ASSERT_TRUE(file);
    TagFields fields;
    ASSERT_TRUE(read_id3v2_tag(*file, fields, codec_));
    EXPECT_EQ(fields, in_code_page(expected_v2(GetParam()), codec_));

    TagFields v1;
    ASSERT_EQ(read_id3v1_tag(*file, v1), GetParam().with_v1);
    if (!GetParam().with_v1 || GetParam().encoding != 0) return;  // wide texts become '?' there
    EXPECT_EQ(v1.title, "Title");
    EXPECT_EQ(v1.artist, "Artist");
    EXPECT_EQ(v1.album, "Album Album Album Album Album");  // 30 bytes, trimmed
    EXPECT_EQ(v1.track, "3");
    EXPECT_EQ(v1.genre, "17");
}

std::vector<Written> every_file() {
    std::vector<Written> files;
    for (const std::string tool : {"mutagen", "eyed3"})
        for (const int version : {3, 4})
            for (const int encoding : {0, 1, 2, 3})
                for (const bool with_v1 : {false, true})
                    if (version == 4 || encoding < 2)
                        files.push_back({tool, version, encoding, with_v1});
    return files;
}

INSTANTIATE_TEST_SUITE_P(WrittenByOthers, InteropReadTest, ::testing::ValuesIn(every_file()),
                         [](const ::testing::TestParamInfo<Written>& param) {
                             std::string name = param.param.file_name();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace varnel
