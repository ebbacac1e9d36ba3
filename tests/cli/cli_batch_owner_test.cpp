// SPDX-License-Identifier: GPL-3.0-or-later
// Two varnel-cli processes and one journal: the batch that runs owns it, and
// a second undo or batch says so instead of touching it; killed smart-order
// batches on an exFAT stick come back whole.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/folder_listing.h"
#include "support/exfat_mount.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

constexpr const char* busy_text = "另一个Varnel正在执行这批更名";

std::vector<std::string> listing(const std::string& folder) {
    auto names = list_folder_files(folder).value_or(std::vector<std::string>{});
    std::sort(names.begin(), names.end());
    return names;
}

// Starts varnel-cli with `args`, its output thrown away; the pid.
pid_t start_cli(const std::vector<std::string>& args) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        std::vector<char*> argv{const_cast<char*>(VARNEL_CLI_PATH)};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(VARNEL_CLI_PATH, argv.data());
        _exit(127);
    }
    return pid;
}

// `count` files "f<i>.txt" holding their names, and the list of their paths.
void make_files(const std::string& folder, int count, const std::string& list) {
    std::ofstream paths(list);
    for (int i = 0; i < count; ++i) {
        const std::string name = "f" + std::to_string(i) + ".txt";
        std::ofstream(folder + name) << name;
        paths << folder << name << '\n';
    }
}

TEST(CliBatchOwner, ASecondUndoOrBatchNeverTouchesARunningBatch) {
    test::TempDir dir;
    const std::string files = dir.path() + "files/";
    ASSERT_EQ(mkdir(files.c_str(), 0700), 0);
    make_files(files, 10000, dir.path() + "list");
    const std::string journal = dir.path() + "journal";
    const pid_t first = start_cli({"rename", "number", "--prefix", "g", "--journal", journal,
                                   "--files-from", dir.path() + "list"});
    ASSERT_GT(first, 0);
    // The journal exists from before the first rename: stop the batch there.
    struct stat info {};
    for (int i = 0; i < 10000 && stat(journal.c_str(), &info) != 0; ++i) usleep(1000);
    kill(first, SIGSTOP);
    // kill() only sends the signal: the batch may rename on for a moment,
    // so the listing waits until it has stopped.
    int status = 0;
    ASSERT_EQ(waitpid(first, &status, WUNTRACED), first);
    if (!WIFSTOPPED(status)) GTEST_SKIP() << "the batch ended before it could be stopped";
    const auto while_stopped = listing(files);

    const test::CliRun undo = test::run_cli({"undo", "--journal", journal});
    EXPECT_EQ(undo.status, 2);
    EXPECT_NE(undo.err.find(busy_text), std::string::npos) << undo.err;
    const test::CliRun second = test::run_cli(
        {"rename", "number", "--prefix", "h", "--journal", journal, files + "f0.txt"});
    EXPECT_EQ(second.status, 2);
    EXPECT_NE(second.err.find(busy_text), std::string::npos) << second.err;
    EXPECT_EQ(listing(files), while_stopped) << "a file was touched while the batch ran";

    kill(first, SIGCONT);
    ASSERT_EQ(waitpid(first, &status, 0), first);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const test::CliRun later = test::run_cli({"undo", "--journal", journal});
    EXPECT_EQ(later.status, 0) << later.err;
    const auto back = listing(files);
    EXPECT_EQ(back.size(), 10000u);
    EXPECT_TRUE(std::all_of(back.begin(), back.end(),
                            [](const std::string& n) { return n.starts_with("f"); }));
}

// Smart-order swaps on an exFAT stick, the journal on the stick, killed at
// moments spread over the batch: after undo every file is back under its
// name, and neither a temporary name nor an empty reservation is left.
TEST(CliOnExfat, KilledSmartBatchesLeaveNoTemporaryOrEmptyFileAfterUndo) {
    test::ExfatMount stick;
    if (!stick.mounted()) GTEST_SKIP() << "cannot mount an exFAT image through FUSE here";
    const std::string m = stick.mount_point();
    constexpr int files = 200;
    std::vector<std::string> args{"rename", "number",    "--order",     "smart", "--prefix",
                                  "s",      "--journal", m + "journal", "--"};
    // Listed 1,0,3,2,…: numbering from 0 swaps each pair.
    for (int i = 0; i < files; ++i) {
        const std::string name = "s" + std::to_string(i ^ 1);
        args.push_back(m + name);
    }
    for (int i = 0; i < files; ++i) std::ofstream(m + "s" + std::to_string(i)) << "content " << i;
    const auto whole = std::chrono::steady_clock::now();
    EXPECT_EQ(test::run_cli(args).status, 0);
    const auto whole_us = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - whole)
                              .count();
    ASSERT_EQ(test::run_cli({"undo", "--journal", m + "journal"}).status, 0);
    for (int round = 0; round < 6; ++round) {
        const pid_t batch = start_cli(args);
        std::this_thread::sleep_for(std::chrono::microseconds(whole_us * round / 6));
        kill(batch, SIGKILL);
        waitpid(batch, nullptr, 0);
        const test::CliRun undo = test::run_cli({"undo", "--journal", m + "journal"});
        EXPECT_LE(undo.status, 1) << undo.err;
        for (const std::string& name : listing(m)) {
            if (name.starts_with(".journal.")) continue;  // a journal cut before it was named
            EXPECT_FALSE(name.starts_with(".varnel")) << "round " << round << ": " << name;
            struct stat info {};
            ASSERT_EQ(stat((m + name).c_str(), &info), 0);
            EXPECT_GT(info.st_size, 0) << "round " << round << ": empty " << name;
        }
        for (int i = 0; i < files; ++i) {
            std::ifstream in(m + "s" + std::to_string(i));
            std::string content;
            std::getline(in, content);
            EXPECT_EQ(content, "content " + std::to_string(i)) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace varnel
