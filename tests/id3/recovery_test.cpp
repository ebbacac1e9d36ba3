// SPDX-License-Identifier: GPL-3.0-or-later
// An edit interrupted by a crash leaves a record in the user's private
// folder; the next edit of the same file (through any of its names)
// finishes it while the file holds the old bytes, the new ones or a mix of
// the two, and drops it when anything else has changed the file. Reading
// never writes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "id3/edit_record.h"
#include "id3/id3v2_writer.h"
#include "id3/safe_rewrite.h"
#include "platform/file_id.h"
#include "platform/recovery_folder.h"
#include "support/child_process.h"
#include "support/edit_records.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

// Every test keeps its records in a state folder of its own.
class RecoveryTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_STATE_HOME", state.path().c_str(), 1); }
    void TearDown() override { unsetenv("XDG_STATE_HOME"); }

    std::string at(const std::string& name) const { return dir.path() + name; }
    FileId id_of(const std::string& name) const { return test::identity_of(at(name)); }
    std::string records_folder() const { return state.path() + "varnel/tag-recovery/"; }
    void put_record(const std::string& name, const std::string& bytes) const {
        std::optional<RecoveryFolder> folder = RecoveryFolder::open(true);
        ASSERT_TRUE(folder && folder->write(name, bytes));
    }
    bool record_left(const FileId& id) const {
        return access((records_folder() + record_name(id)).c_str(), F_OK) == 0;
    }
    std::optional<Recovery> recover(const std::string& name) const {
        Result<ByteFile> file = ByteFile::open_read_write(at(name));
        if (!file) return std::nullopt;
        return recover_file_edit(*file, at(name));
    }
    // Recovers through `name`: `found`, a.mp3 then holds `after`, and the
    // record of `id` is gone.
    void expect_recovery(const std::string& name, Recovery found, const std::string& after,
                         const FileId& id, const char* what) const {
        EXPECT_EQ(recover(name), found) << what;
        EXPECT_TRUE(dir.read_file("a.mp3") == after) << what;
        EXPECT_FALSE(record_left(id)) << what;
    }

    test::TempDir state;
    test::TempDir dir;
};

std::string old_song() {
    return test::id3v2_tag(test::text_frame("TIT2", "Old one"), 3, 40) + test::fake_audio(20000);
}

// old_song() with the first byte of "New" written over "Old".
std::string torn_song() {
    std::string torn = old_song();
    torn[21] = 'N';
    return torn;
}

// The record of an in-place edit of `song` that writes "New" at 21 and
// appends an ID3v1 block.
EditRecord patch_record(const FileId& id, const std::string& song) {
    return test::patch_record(
        id, song, {{21, "Old", "New"}, {song.size(), "", "TAG" + std::string(125, 'v')}},
        song.size() + 128);
}

TEST_F(RecoveryTest, InPlaceEditIsFinishedOnlyOverItsOwnBytes) {
    const std::string old_file = old_song();
    std::string new_file = old_file;
    new_file.replace(21, 3, "New");
    new_file += "TAG" + std::string(125, 'v');
    std::string torn = old_file;  // one byte of the title, half the block
    torn[21] = 'N';
    torn += "TAG" + std::string(61, 'v');
    std::string audio_changed = torn;
    audio_changed[old_file.size() - 10] ^= 0x55;
    std::string title_changed = old_file;
    title_changed.replace(21, 3, "Odd");
    struct Case {
        const char* what;
        std::string on_disk;
        std::string after;
        Recovery found;
    };
    const std::vector<Case> cases = {
        {"torn", torn, new_file, Recovery::finished},
        {"nothing written yet", old_file, new_file, Recovery::finished},
        {"all written", new_file, new_file, Recovery::finished},
        {"audio changed since", audio_changed, audio_changed, Recovery::discarded},
        {"title changed since", title_changed, title_changed, Recovery::discarded},
        {"grown since", new_file + "x", new_file + "x", Recovery::discarded},
    };
    for (const Case& c : cases) {
        dir.write_file("a.mp3", c.on_disk);
        ::unlink(at("b.mp3").c_str());
        ASSERT_EQ(link(at("a.mp3").c_str(), at("b.mp3").c_str()), 0);
        const FileId id = id_of("a.mp3");
        put_record(record_name(id), encode_record(patch_record(id, old_file)));
        {
            std::optional<ByteFile> reading = ByteFile::open_read(at("a.mp3"));
            EXPECT_TRUE(reading && has_unfinished_edit(*reading)) << c.what;
        }
        // Through the other name of the file.
        expect_recovery("b.mp3", c.found, c.after, id, c.what);
    }
}

// A small edit keeps its record in the file's attribute: bound to the file
// in the same way, so that the attribute copied with the file's bytes onto
// another file (cp -a, tar --xattrs) is dropped unused.
TEST_F(RecoveryTest, AttributeRecordAppliesOnlyToItsOwnFile) {
    const std::string old_file = old_song();
    const std::string torn = torn_song();
    dir.write_file("a.mp3", torn);
    dir.write_file("copy.mp3", torn);
    const std::string record = encode_record(patch_record(id_of("a.mp3"), old_file));
    for (const char* name : {"a.mp3", "copy.mp3"})
        if (setxattr(at(name).c_str(), "user.varnel.undo", record.data(), record.size(), 0) != 0)
            GTEST_SKIP() << "no user extended attributes here";
    {
        std::optional<ByteFile> reading = ByteFile::open_read(at("copy.mp3"));
        EXPECT_FALSE(reading && has_unfinished_edit(*reading));
    }
    EXPECT_EQ(recover("copy.mp3"), Recovery::discarded);
    EXPECT_TRUE(dir.read_file("copy.mp3") == torn);
    EXPECT_EQ(recover("a.mp3"), Recovery::finished);
    std::string new_file = old_file;
    new_file.replace(21, 3, "New");
    EXPECT_TRUE(dir.read_file("a.mp3") == new_file + "TAG" + std::string(125, 'v'));
    for (const char* name : {"a.mp3", "copy.mp3"})
        EXPECT_LT(getxattr(at(name).c_str(), "user.varnel.undo", nullptr, 0), 0) << name;
}

TEST_F(RecoveryTest, RecordOfAnotherFileOrBrokenRecordChangesNothing) {
    const std::string old_file = old_song();
    const std::string torn = torn_song();
    dir.write_file("a.mp3", torn);
    const FileId id = id_of("a.mp3");
    EditRecord born_elsewhere = patch_record(id, old_file);
    born_elsewhere.file.has_birth = true;
    born_elsewhere.file.birth_sec = id.birth_sec + 1;
    const std::string whole = encode_record(patch_record(id, old_file));
    std::string flipped = whole;
    flipped[60] ^= 1;
    struct Case {
        const char* what;
        std::string record;
        Recovery found;
    };
    const std::vector<Case> cases = {
        {"another birth time", encode_record(born_elsewhere), Recovery::discarded},
        {"cut short", whole.substr(0, whole.size() - 5), Recovery::nothing},
        {"a flipped bit", flipped, Recovery::nothing},
        {"not a record", "VNLUNDO1" + std::string(4800, 'x'), Recovery::nothing},
    };
    for (const Case& c : cases) {
        put_record(record_name(id), c.record);
        expect_recovery("a.mp3", c.found, torn, id, c.what);
    }
}

TEST_F(RecoveryTest, ReadingNeverWritesAndARealEditFinishesFirst) {
    const std::string old_file = old_song();
    const std::string torn = torn_song();
    dir.write_file("a.mp3", torn);
    const FileId id = id_of("a.mp3");
    put_record(record_name(id), encode_record(patch_record(id, old_file)));
    std::optional<ByteFile> reading = ByteFile::open_read(at("a.mp3"));
    ASSERT_TRUE(reading && has_unfinished_edit(*reading));
    EXPECT_TRUE(dir.read_file("a.mp3") == torn);
    EXPECT_TRUE(record_left(id));
    std::optional<ByteFile> file = ByteFile::open_read_write(at("a.mp3"));
    TagFields fields;
    fields.title = "Edited";
    ASSERT_TRUE(file && write_id3v2_tag(*file, at("a.mp3"), fields));
    const std::string after = dir.read_file("a.mp3");
    // The interrupted edit's ID3v1 block, then the new title.
    EXPECT_EQ(after.substr(after.size() - 128), "TAG" + std::string(125, 'v'));
    EXPECT_NE(after.find("Edited"), std::string::npos);
    EXPECT_FALSE(record_left(id));
}

// A linked file's new content is copied over it from the private folder:
// the copy is finished over any mix of old and new blocks, and nothing
// else.
TEST_F(RecoveryTest, CopyOverALinkedFileIsFinishedOverOldAndNewBlocksOnly) {
    const std::string old_file =
        test::id3v2_tag(test::text_frame("TIT2", "Old"), 3, 5000) + test::fake_audio(20000);
    const std::string new_file =
        test::id3v2_tag(test::text_frame("TIT2", "New"), 3, 40) + test::fake_audio(20000);
    std::string torn = new_file.substr(0, 2 * record_block) + old_file.substr(2 * record_block);
    std::string foreign = torn;
    foreign[3 * record_block + 7] ^= 0x20;
    struct Case {
        const char* what;
        std::string on_disk;
        std::string after;
        Recovery found;
    };
    const std::vector<Case> cases = {
        {"two blocks copied", torn, new_file, Recovery::finished},
        {"copied, not yet cut", new_file + old_file.substr(new_file.size()), new_file,
         Recovery::finished},
        {"a byte changed since", foreign, foreign, Recovery::discarded},
    };
    for (const Case& c : cases) {
        dir.write_file("a.mp3", c.on_disk);
        const FileId id = id_of("a.mp3");
        EditRecord record;
        record.kind = RecordKind::copy;
        record.file.device = id.device;
        record.file.inode = id.inode;
        record.old_length = old_file.size();
        record.new_length = new_file.size();
        record.new_file = sha256(new_file);
        for (const auto& [at, size] : copy_pieces(old_file.size(), new_file.size()))
            record.old_blocks.push_back(sha256(old_file.substr(at, size)));
        put_record(record_name(id) + ".new", new_file);
        put_record(record_name(id), encode_record(record));
        expect_recovery("a.mp3", c.found, c.after, id, c.what);
    }
}

// The private folder and its records are used only while nobody else can
// write them; a symbolic link is never followed.
TEST_F(RecoveryTest, RecordsOthersCouldWriteAreNeverApplied) {
    const std::string old_file = old_song();
    const std::string torn = torn_song();
    const auto setups =
        std::vector<std::pair<const char*, void (*)(const std::string&, const std::string&)>>{
            {"group-writable record",
             [](const std::string& folder, const std::string& name) {
                 chmod((folder + name).c_str(), 0620);
             }},
            {"group-writable folder",
             [](const std::string& folder, const std::string&) { chmod(folder.c_str(), 0770); }},
            {"record behind a symbolic link",
             [](const std::string& folder, const std::string& name) {
                 ASSERT_EQ(rename((folder + name).c_str(), (folder + "elsewhere").c_str()), 0);
                 ASSERT_EQ(symlink("elsewhere", (folder + name).c_str()), 0);
             }},
        };
    for (const auto& [what, setup] : setups) {
        dir.write_file("a.mp3", torn);
        const FileId id = id_of("a.mp3");
        put_record(record_name(id), encode_record(patch_record(id, old_file)));
        setup(records_folder(), record_name(id));
        std::optional<ByteFile> reading = ByteFile::open_read(at("a.mp3"));
        EXPECT_FALSE(reading && has_unfinished_edit(*reading)) << what;
        const std::optional<Recovery> found = recover("a.mp3");
        EXPECT_NE(found, Recovery::finished) << what;
        EXPECT_TRUE(dir.read_file("a.mp3") == torn) << what;
        chmod(records_folder().c_str(), 0700);
        ::unlink((records_folder() + record_name(id)).c_str());
        ::unlink((records_folder() + "elsewhere").c_str());
    }
}

// An edit waits while another program holds the file's lock, and goes on
// once it is let go.
TEST_F(RecoveryTest, EditWaitsForTheLock) {
    dir.write_file("a.mp3", old_song());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    if (holder == 0) {
        const int fd = open(at("a.mp3").c_str(), O_RDONLY);
        flock(fd, LOCK_EX);
        (void)!write(ready[1], "x", 1);
        usleep(300000);
        _exit(0);
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    std::optional<ByteFile> file = ByteFile::open_read_write(at("a.mp3"));
    TagFields fields;
    fields.title = "After the wait";
    EXPECT_TRUE(file && write_id3v2_tag(*file, at("a.mp3"), fields));
    int status = 0;
    waitpid(holder, &status, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_NE(dir.read_file("a.mp3").find("After the wait"), std::string::npos);
}

// Two programs editing one file at once: the second waits for the first
// and edits the file the name then leads to.
TEST_F(RecoveryTest, ConcurrentEditsBothSucceed) {
    dir.write_file("a.mp3", old_song());
    const auto edits = [this](char letter) {
        for (int i = 0; i < 15; ++i) {
            std::optional<ByteFile> file = ByteFile::open_read_write(at("a.mp3"));
            TagFields fields;
            fields.title = std::string(static_cast<std::size_t>(100 + 37 * i), letter);
            if (!file || !write_id3v2_tag(*file, at("a.mp3"), fields)) return 1;
        }
        return 0;
    };
    const pid_t other = fork();
    if (other == 0) _exit(edits('b'));
    EXPECT_EQ(edits('a'), 0);
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::string after = dir.read_file("a.mp3");
    EXPECT_TRUE(after.substr(after.size() - 20000) == test::fake_audio(20000));
}

TEST(RecordFormat, RegionsAndOutsidePieces) {
    const RecordRegion grow{10, "ab", "xyz"};
    struct State {
        std::string current;
        RegionState state;
    };
    for (const State& s : std::vector<State>{{"ab", RegionState::old_bytes},
                                             {"xyz", RegionState::new_bytes},
                                             {"xb", RegionState::torn},
                                             {"ayz", RegionState::torn},
                                             {"a", RegionState::foreign},
                                             {"qyz", RegionState::foreign}})
        EXPECT_EQ(region_state(s.current, grow), s.state) << s.current;
    using Pieces = std::vector<std::pair<std::uint64_t, std::uint64_t>>;
    EXPECT_EQ(outside_pieces({{0, "ab", "cd"}}, 100), (Pieces{{2, 98}}));
    EXPECT_EQ(copy_pieces(10000, 5000),
              (Pieces{{0, 4096}, {4096, 904}, {5000, 3192}, {8192, 1808}}));
    EXPECT_EQ(copy_pieces(5000, 9000), (Pieces{{0, 4096}, {4096, 904}}));
    EXPECT_EQ(outside_pieces({{0, std::string(100, 'a'), std::string(100, 'b')}}, 20000),
              (Pieces{{100, 4096}, {20000 - 4096, 4096}}));
    EXPECT_EQ(outside_pieces({{10, "a", "b"}, {19990, "", "TAG"}}, 19990),
              (Pieces{{0, 10}, {11, 4086}, {19990 - 4096, 4096}}));
}

}  // namespace
}  // namespace varnel
