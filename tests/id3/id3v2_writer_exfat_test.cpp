// SPDX-License-Identifier: GPL-3.0-or-later
// Tag edits on an exFAT card mounted through FUSE, a file system without
// nameless files (O_TMPFILE) or extended attributes: the named side files
// are used, the results equal those on the local disk, and no side file is
// left behind.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "id3/id3v2_reader.h"
#include "id3/id3v2_writer.h"
#include "platform/folder_listing.h"
#include "support/exfat_mount.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using namespace varnel::test;

// One step of an edit sequence: a new title, or the tag's removal.
struct Step {
    const char* what;
    std::optional<std::string> title;  // nullopt: remove the ID3v2 tag
};

std::string read_path(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool apply(const std::string& path, const Step& step) {
    std::optional<ByteFile> file = ByteFile::open_read_write(path);
    if (!file) return false;
    if (!step.title) return remove_id3v2_tag(*file, path).ok;
    TagFields fields;
    fields.title = *step.title;
    fields.artist = "Artist";
    return write_id3v2_tag(*file, path, fields);
}

TEST(ExfatTagEdits, FallbackSideFilesGiveTheSameFilesAndLeaveNothing) {
    ExfatMount exfat;
    if (!exfat.mounted()) GTEST_SKIP() << "cannot mount an exFAT image through FUSE here";
    TempDir local;
    const std::string audio = fake_audio(300'000) + id3v1_block("v1 title");
    const std::vector<Step> steps = {
        {"a new tag (whole-file rewrite)", "First"},
        {"a fitting edit of a few bytes (in place)", "Second"},
        {"a fitting edit of most of the tag (in place)", std::string(700, 'x')},
        {"a tag that outgrows its space (rewrite)", std::string(3000, 'y')},
        {"the same texts again (nothing written)", std::string(3000, 'y')},
        {"removal (rewrite)", std::nullopt},
    };
    const std::string on_card = exfat.mount_point() + "song.mp3";
    const std::string on_disk = local.path() + "song.mp3";
    local.write_file("song.mp3", audio);
    {
        FILE* file = std::fopen(on_card.c_str(), "wb");
        ASSERT_TRUE(file);
        ASSERT_EQ(std::fwrite(audio.data(), 1, audio.size(), file), audio.size());
        ASSERT_EQ(std::fclose(file), 0);
    }
    for (const Step& step : steps) {
        ASSERT_TRUE(apply(on_disk, step)) << step.what;
        ASSERT_TRUE(apply(on_card, step)) << step.what;
        EXPECT_EQ(read_path(on_card), local.read_file("song.mp3")) << step.what;
        const auto names = list_folder_files(exfat.mount_point());
        ASSERT_TRUE(names) << step.what;
        EXPECT_EQ(*names, std::vector<std::string>{"song.mp3"}) << step.what;
    }
    EXPECT_EQ(read_path(on_card), audio);
}

}  // namespace
}  // namespace varnel
