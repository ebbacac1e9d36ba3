// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli fix-tags killed (SIGKILL) at random moments of a batch of 120
// MP3 files: undo --tags then gives every file its old bytes back, whether
// the kill came before, during or after its write. The seed is printed;
// rounds are few and bounded.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "cli_fixture.h"
#include "support/mp3_builder.h"

namespace varnel {
namespace {

using namespace varnel::test;

// varnel-cli started with `args` in `env`, its output thrown away.
pid_t start_cli(const std::vector<std::string>& args, const CliEnv& env) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const pid_t pid = spawn_cli(args, env, actions);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

using CliFixTagsKillTest = CliFolderTest;

TEST_F(CliFixTagsKillTest, UndoAfterAKillGivesEveryFileItsOldBytes) {
    std::vector<std::string> names;
    std::vector<std::string> old_bytes;
    for (int i = 0; i < 120; ++i) {
        names.push_back("s" + std::to_string(i) + ".mp3");
        // 歌手 in GBK; every other tag without padding, so it is rewritten whole.
        old_bytes.push_back(id3v2_tag(text_frame("TPE1", "\xB8\xE8\xCA\xD6") +
                                          text_frame("TIT2", "Song " + std::to_string(i)),
                                      3, i % 2 == 0 ? 0 : 300) +
                            fake_audio(30000 + static_cast<std::size_t>(i)) + id3v1_block("v1"));
    }
    std::vector<std::string> args{"fix-tags"};
    for (const std::string& name : names) args.push_back(dir.path() + name);
    const auto write_all = [&] {
        for (std::size_t i = 0; i < names.size(); ++i) dir.write_file(names[i], old_bytes[i]);
    };

    write_all();
    const auto begin = std::chrono::steady_clock::now();
    const pid_t whole_run = start_cli(args, env);
    ASSERT_GT(whole_run, 0);
    int status = 0;
    waitpid(whole_run, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - begin)
                           .count();
    ASSERT_NE(dir.read_file(names[0]), old_bytes[0]);
    // Undone now, so that a round killed before its own journal began finds
    // no batch to undo instead of this one, whose files the round rewrote.
    ASSERT_EQ(cli({"undo", "--tags"}).status, 0);

    const char* fixed = std::getenv("KILL_SEED");
    const unsigned seed = fixed ? static_cast<unsigned>(std::stoul(fixed))
                                : static_cast<unsigned>(std::random_device{}());
    std::printf("fix-tags kill test seed %u, a batch takes %lld us\n", seed,
                static_cast<long long>(whole));
    std::mt19937 random(seed);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round));
        write_all();
        const pid_t pid = start_cli(args, env);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<long long>(0, whole)(random)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        // Killed before its journal held anything: nothing to undo, nothing changed.
        const CliRun undone = cli({"undo", "--tags"});
        EXPECT_TRUE(undone.status == 0 || undone.status == 2) << undone.err << undone.out;
        for (std::size_t i = 0; i < names.size(); ++i)
            ASSERT_TRUE(dir.read_file(names[i]) == old_bytes[i]) << names[i] << "\n" << undone.out;
    }
}

}  // namespace
}  // namespace varnel
