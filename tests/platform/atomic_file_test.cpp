// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file replacement and folder creation as the settings files use
// them: links in the way, the permissions kept, and failures that keep
// their reason (a full disk, a folder the user may not write to).

#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>

#include "platform/user_folders.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using Names = std::vector<std::string>;
using test::in_child;
using test::nobody;

mode_t mode_of(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

TEST(ReplaceFileAtomically, WhatIsInTheWayBecomesTheNewFile) {
    struct Case {
        const char* what;
        std::function<void(const test::TempDir&)> prepare;
        mode_t mode;         // of the new file
        const char* target;  // what the link's target holds afterwards ("" none)
    };
    const std::vector<Case> cases = {
        {"nothing", [](const test::TempDir&) {}, 0644, ""},
        {"a file with its own permissions",
         [](const test::TempDir& dir) {
             dir.write_file("f", "old");
             ::chmod((dir.path() + "f").c_str(), 0640);
         },
         0640, ""},
        {"a link to another file",
         [](const test::TempDir& dir) {
             dir.write_file("target", "precious");
             ASSERT_EQ(::symlink((dir.path() + "target").c_str(), (dir.path() + "f").c_str()), 0);
         },
         0644, "precious"},
        {"a dangling link",
         [](const test::TempDir& dir) {
             ASSERT_EQ(::symlink((dir.path() + "target").c_str(), (dir.path() + "f").c_str()), 0);
         },
         0644, ""},
    };
    const mode_t old_umask = ::umask(022);
    for (const Case& c : cases) {
        test::TempDir dir;
        c.prepare(dir);
        const WriteResult result = replace_file_atomically(dir.path() + "f", "new\r\n");
        EXPECT_TRUE(result) << c.what << ": " << system_error_text(result.error);
        EXPECT_EQ(mode_of(dir.path() + "f"), S_IFREG | c.mode) << c.what;
        EXPECT_EQ(dir.read_file("f"), "new\r\n") << c.what;
        if (*c.target != '\0') {
            EXPECT_EQ(dir.read_file("target"), c.target) << c.what;
        } else {
            EXPECT_FALSE(dir.exists("target")) << c.what;  // never created through the link
        }
        const Names names = dir.names();
        EXPECT_EQ(names.size(), *c.target != '\0' ? 2u : 1u) << c.what;  // no temporary left
    }
    ::umask(old_umask);
}

TEST(ReplaceFileAtomically, FailuresKeepTheirReasonAndTheOldFile) {
    test::TempDir dir;
    dir.write_file("plain", "x");
    EXPECT_EQ(replace_file_atomically(dir.path() + "missing/f", "x").error, ENOENT);
    EXPECT_EQ(replace_file_atomically(dir.path() + "plain/f", "x").error, ENOTDIR);
    EXPECT_EQ(system_error_text(ENOSPC), "No space left on device");

    // A folder the user may not write to (root becomes nobody for this).
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::mkdir((dir.path() + "locked").c_str(), 0755), 0);
    dir.write_file("locked/f", "old");
    ASSERT_EQ(::chmod((dir.path() + "locked/f").c_str(), 0666), 0);
    ASSERT_EQ(::chmod((dir.path() + "locked").c_str(), 0555), 0);
    const int locked = in_child([&] {
        if (::geteuid() == 0 && (::setgid(nobody) != 0 || ::setuid(nobody) != 0)) return 100;
        return replace_file_atomically(dir.path() + "locked/f", "new").error;
    });
    EXPECT_EQ(locked, EACCES);
    EXPECT_EQ(dir.read_file("locked/f"), "old");
    ASSERT_EQ(::chmod((dir.path() + "locked").c_str(), 0755), 0);
}

// A real full disk: a small tmpfs in a mount namespace of a child process.
TEST(ReplaceFileAtomically, AFullDiskLeavesTheOldFile) {
    test::TempDir dir;
    const std::string folder = dir.path() + "small/";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const int code = in_child([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
            return 77;
        const std::string old(40000, 'o');
        if (!replace_file_atomically(folder + "config.ini", old)) return 1;
        const WriteResult full =
            replace_file_atomically(folder + "config.ini", std::string(40000, 'n'));
        if (full.error != ENOSPC) return 2;
        FILE* file = std::fopen((folder + "config.ini").c_str(), "rb");
        std::string back(50000, '\0');
        back.resize(file ? std::fread(back.data(), 1, back.size(), file) : 0);
        if (file) std::fclose(file);
        return back == old ? 0 : 3;
    });
    if (code == 77) GTEST_SKIP() << "cannot mount a tmpfs here";
    EXPECT_EQ(code, 0);
}

TEST(MakeFolders, CreatesEveryMissingFolderPrivately) {
    test::TempDir dir;
    const mode_t old_umask = ::umask(022);
    const std::string nested = dir.path() + "a/b/varnel";
    EXPECT_TRUE(make_folders(nested));
    EXPECT_EQ(mode_of(nested), S_IFDIR | 0700);
    EXPECT_EQ(mode_of(dir.path() + "a"), S_IFDIR | 0700);
    EXPECT_TRUE(make_folders(nested + "/"));  // already there
    ::umask(old_umask);

    dir.write_file("file");
    EXPECT_EQ(make_folders(dir.path() + "file").error, ENOTDIR);
    EXPECT_EQ(make_folders(dir.path() + "file/sub").error, ENOTDIR);
}

}  // namespace
}  // namespace varnel
