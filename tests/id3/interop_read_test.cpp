// Tags written by other programs (mutagen and eyeD3, driven through
// python3) read by our readers. Skipped where python3 or the library is
// missing; Debian packages: python3-mutagen, eyed3.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cctype>
#include <cerrno>
#include <map>
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

// Writes one file per (version, encoding, with ID3v1) into argv[2] with the
// library named by argv[1]. Non-ASCII texts are spelled as escapes so that
// the script does not depend on how the locale decodes arguments.
constexpr const char* writer_script = R"PY(
import logging, os, sys
tool, folder = sys.argv[1], sys.argv[2]

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

write = with_mutagen if tool == 'mutagen' else with_eyed3
for version, encodings in ((3, (0, 1)), (4, (0, 1, 2, 3))):
    for encoding in encodings:
        for v1 in (False, True):
            path = os.path.join(folder, '%s-v2%d-enc%d%s.mp3' % (tool, version, encoding, '-v1' if v1 else ''))
            audio(path)
            write(path, version, encoding, v1)
)PY";

// Runs `program` with `args` and waits; true when it exits with status 0.
bool run(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A python3 that can import `module`: Debian's first, since the python3
// found on PATH may be a private one without Debian's packages.
std::optional<std::string> python_with(const std::string& module) {
    for (const std::string candidate : {"/usr/bin/python3", "python3"})
        if (run(candidate, {"-c", "import " + module})) return candidate;
    return std::nullopt;
}

// The folder of files written by `tool`, made on first use; nullopt when
// the tool is not available.
const test::TempDir* files_of(const std::string& tool) {
    static std::map<std::string, std::optional<test::TempDir>> made;
    auto found = made.find(tool);
    if (found == made.end()) {
        found = made.emplace(tool, std::nullopt).first;
        const std::optional<std::string> python = python_with(tool == "mutagen" ? "mutagen" : "eyed3");
        if (python) {
            found->second.emplace();
            if (!run(*python, {"-c", writer_script, tool, found->second->path()}))
                throw std::runtime_error("the " + tool + " script failed");
        }
    }
    return found->second ? &*found->second : nullptr;
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
    // Version 2.4 keeps the year in TDRC, which is not read.
    fields.year = written.version == 3 ? "2001" : "";
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
    for (auto member : {&TagFields::title, &TagFields::artist, &TagFields::album, &TagFields::track,
                        &TagFields::year, &TagFields::genre, &TagFields::comment, &TagFields::composer,
                        &TagFields::original_artist, &TagFields::copyright, &TagFields::url,
                        &TagFields::encoder})
        fields.*member = codec.from_utf8(utf8.*member).value();
    return fields;
}

class InteropReadTest : public ::testing::TestWithParam<Written> {
protected:
    // The written file, opened; nullopt (and the test skipped) without the tool.
    std::optional<ByteFile> open_written() {
        const test::TempDir* folder = files_of(GetParam().tool);
        if (!folder) return std::nullopt;
        auto file = ByteFile::open_read(folder->path() + GetParam().file_name());
        if (!file) throw std::runtime_error("missing " + GetParam().file_name());
        return file;
    }

    Codec codec_;
};

TEST_P(InteropReadTest, ReadsTheId3v2Texts) {
    std::optional<ByteFile> file = open_written();
    if (!file) GTEST_SKIP() << "python3 with " << GetParam().tool << " is not available";
    TagFields fields;
    ASSERT_TRUE(read_id3v2_tag(*file, fields, codec_));
    EXPECT_EQ(fields, in_code_page(expected_v2(GetParam()), codec_));
}

TEST_P(InteropReadTest, ReadsTheId3v1TagWhenThereIsOne) {
    std::optional<ByteFile> file = open_written();
    if (!file) GTEST_SKIP() << "python3 with " << GetParam().tool << " is not available";
    TagFields fields;
    ASSERT_EQ(read_id3v1_tag(*file, fields), GetParam().with_v1);
    if (!GetParam().with_v1 || GetParam().encoding != 0) return;  // wide texts become '?' there
    EXPECT_EQ(fields.title, "Title");
    EXPECT_EQ(fields.artist, "Artist");
    EXPECT_EQ(fields.album, "Album Album Album Album Album");  // 30 bytes, trimmed
    EXPECT_EQ(fields.track, "3");
    EXPECT_EQ(fields.genre, "17");
}

std::vector<Written> every_file() {
    std::vector<Written> files;
    for (const std::string tool : {"mutagen", "eyed3"})
        for (const int version : {3, 4})
            for (const int encoding : {0, 1, 2, 3})
                for (const bool with_v1 : {false, true})
                    if (version == 4 || encoding < 2) files.push_back({tool, version, encoding, with_v1});
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
