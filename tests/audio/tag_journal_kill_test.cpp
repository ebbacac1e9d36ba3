// SPDX-License-Identifier: GPL-3.0-or-later
// A batch tag edit of 100 FLAC and 100 MP3 files killed (SIGKILL) at
// random moments: every file is its old or its new version (once the next
// access finishes a write cut short), and undo puts every old tag back
// byte for byte. The seed is printed; rounds are few and bounded.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "audio/tag_journal.h"
#include "id3/safe_rewrite.h"
#include "platform/tag_file_io.h"
#include "support/bytes.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

extern char** environ;

namespace varnel {
namespace {

using test::le32;

std::string be24(std::size_t v) {
    return {static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 8) & 0xFF),
            static_cast<char>(v & 0xFF)};
}

// A FLAC file: STREAMINFO (44.1 kHz, stereo, 16 bits), a Vorbis comment
// block and `audio`.
std::string flac_file(int index, const std::string& audio) {
    std::string info = std::string("\x10\x00\x10\x00", 4) + std::string(6, '\0') +
                       std::string("\x0A\xC4\x42\xF0\x00\x00\xAC\x44", 8) + std::string(16, '\0');
    std::string comment = le32(4) + "test" + le32(2);
    for (const std::string& c : {"TITLE=Old " + std::to_string(index), std::string("ARTIST=Old")})
        comment += le32(c.size()) + c;
    return "fLaC" + std::string(1, '\0') + be24(info.size()) + info + std::string(1, '\x84') +
           be24(comment.size()) + comment + audio;
}

int run(const std::vector<std::string>& args, pid_t* started = nullptr) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    if (started != nullptr) {
        *started = pid;
        return 0;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TagJournalKill, EveryFileOldOrNewAndUndoRestoresEveryByte) {
    test::TempDir dir;
    ASSERT_EQ(setenv("XDG_STATE_HOME", (dir.path() + "state").c_str(), 1), 0);
    std::filesystem::create_directories(dir.path() + "files");
    std::filesystem::create_directories(dir.path() + "expect");
    std::vector<std::string> names;
    std::vector<std::string> old_bytes;
    for (int i = 0; i < 100; ++i) {
        const std::string audio = test::fake_audio(20000 + static_cast<std::size_t>(i) * 7);
        names.push_back("f" + std::to_string(i) + ".flac");
        old_bytes.push_back(flac_file(i, audio));
        names.push_back("m" + std::to_string(i) + ".mp3");
        old_bytes.push_back(test::id3v2_tag(test::text_frame("TIT2", "Old " + std::to_string(i)) +
                                            test::text_frame("TPE1", "Old")) +
                            audio + test::id3v1_block("Old v1"));
    }
    const auto write_all = [&](const std::string& folder) {
        for (std::size_t i = 0; i < names.size(); ++i)
            dir.write_file(folder + names[i], old_bytes[i]);
    };
    const auto edit_args = [&](const std::string& folder, const std::string& journal) {
        std::vector<std::string> args{VARNEL_TAG_BATCH_TOOL, "edit", journal};
        for (const std::string& name : names) args.push_back(dir.path() + folder + name);
        return args;
    };
    // The new versions, and how long a whole batch takes here.
    write_all("expect/");
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(run(edit_args("expect/", dir.path() + "expect.journal")), 0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
    std::vector<std::string> new_bytes;
    for (const std::string& name : names) new_bytes.push_back(dir.read_file("expect/" + name));

    const unsigned seed = static_cast<unsigned>(std::random_device{}());
    std::printf("kill test seed %u, batch of %zu files takes %lld us\n", seed, names.size(),
                static_cast<long long>(whole));
    std::mt19937 random(seed);
    const std::string journal = dir.path() + "tag.journal";
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round));
        write_all("files/");
        pid_t pid = 0;
        ASSERT_EQ(run(edit_args("files/", journal), &pid), 0);
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<long long>(0, whole)(random)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        int edited = 0;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string path = dir.path() + "files/" + names[i];
            // Cut short: the next access finishes it (undo does so too).
            if (const std::string now = dir.read_file("files/" + names[i]);
                now != old_bytes[i] && now != new_bytes[i]) {
                std::optional<ByteFile> file = open_regular_file(path, true);
                ASSERT_TRUE(file);
                ASSERT_TRUE(recover_file_edit(*file, path)) << names[i];
            }
            const std::string now = dir.read_file("files/" + names[i]);
            EXPECT_TRUE(now == old_bytes[i] || now == new_bytes[i]) << names[i];
            edited += now == new_bytes[i] ? 1 : 0;
        }
        std::printf("round %d: %d of %zu files edited when killed\n", round, edited, names.size());
        if (!std::filesystem::exists(journal)) continue;  // killed before the journal began
        EXPECT_EQ(run({VARNEL_TAG_BATCH_TOOL, "undo", journal}), 0);
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_TRUE(dir.read_file("files/" + names[i]) == old_bytes[i]) << names[i];
    }
}

}  // namespace
}  // namespace varnel
