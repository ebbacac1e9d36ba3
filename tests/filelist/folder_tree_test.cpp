// SPDX-License-Identifier: GPL-3.0-or-later
// Walking a folder tree as adding a folder with its subfolders does: the
// order folder by folder, legacy names at every depth, links to folders
// never followed, unreadable folders counted (as a user who is not root),
// and a bind mount of an ancestor walked once.

#include "filelist/folder_tree.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <cerrno>
#include <functional>
#include <sstream>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

const std::string gbk_folder = "\xD6\xD0";            // 中
const std::string gbk_file = "\xC4\xE3\xBA\xC3.mp3";  // 你好.mp3
const std::string gbk_deep = "\xCE\xC4\xBC\xFE.txt";  // 文件.txt
using test::nobody;

// Creates each entry of `entries` (separated by spaces): "x/" a folder,
// "x->target" a symbolic link, anything else a file.
void create(const test::TempDir& dir, const std::string& entries) {
    std::istringstream words(entries);
    for (std::string entry; words >> entry;) {
        const std::size_t arrow = entry.find("->");
        const std::string at = dir.path() + entry.substr(0, arrow);
        if (arrow != std::string::npos)
            ASSERT_EQ(::symlink(entry.substr(arrow + 2).c_str(), at.c_str()), 0) << entry;
        else if (entry.ends_with('/'))
            ASSERT_EQ(::mkdir(at.c_str(), 0755), 0) << entry;
        else
            dir.write_file(entry, "x");
    }
}

// The walk as text: one line per folder handed over, "folder: name|name",
// folders relative to `base`; then "unreadable N" and each kept failure.
std::string walk_text(const std::string& base, const std::string& root) {
    const Codec codec;
    std::string text;
    const TreeWalkReport report =
        walk_folder_tree(root, codec, [&](const std::string& folder, std::vector<ItemName> names) {
            text += folder.substr(base.size()) + ":";
            for (const ItemName& name : names) {
                EXPECT_EQ(name.text, codec.text_from_fs(name.fs));
                text += " " + name.fs;
            }
            text += "\n";
        });
    text += "unreadable " + std::to_string(report.unreadable) + "\n";
    for (const UnreadableFolder& failed : report.first_unreadable)
        text += failed.folder.substr(base.size()) + " " + std::to_string(failed.error) + "\n";
    return text;
}

std::string lines(const std::vector<std::string>& each) {
    std::string text;
    for (const std::string& line : each) text += line + "\n";
    return text;
}

// Runs `prepare` and then `body` in a child process; body's text comes
// back through a pipe. Exit status 77: `prepare` failed.
struct ChildResult {
    int status = -1;
    std::string text;
};
ChildResult in_child(const std::function<bool()>& prepare,
                     const std::function<std::string()>& body) {
    ChildResult result;
    int fds[2];
    if (::pipe(fds) != 0) return result;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (!prepare()) _exit(77);
        const std::string text = body();
        const bool written =
            ::write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        _exit(written ? 0 : 1);
    }
    ::close(fds[1]);
    char buffer[4096];
    for (ssize_t got; (got = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        result.text.append(buffer, static_cast<std::size_t>(got));
    ::close(fds[0]);
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    return result;
}

// Root reads every folder: the child becomes nobody first.
bool become_non_root() {
    return ::geteuid() != 0 || (::setgid(nobody) == 0 && ::setuid(nobody) == 0);
}

TEST(FolderTree, FolderByFolderInNaturalOrderWithLegacyNamesAndLinksNotFollowed) {
    test::TempDir dir;
    const std::string zh = "root/" + gbk_folder + "/";
    create(dir,
           "root/ root/b.txt root/a10.txt root/a9.txt root/.hidden root/10/ root/10/z.txt "
           "root/9/ root/9/x.txt root/9/sub/ root/9/sub/y.txt root/.git/ root/.git/config "
           "root/empty/ root/only-folders/ root/only-folders/inner/ "
           "root/only-folders/inner/f " +
               zh + " " + zh + gbk_file + " " + zh + "2/ " + zh + "2/" + gbk_deep);
    // Links to folders: a loop between two folders, one to an ancestor,
    // one to its own folder, one out of the tree; none is entered or added.
    // Links that name no folder are entries like files, as when a folder
    // alone is added: one to a file, two that point at each other.
    create(dir,
           "root/a/ root/b/ root/a/to-b->../b root/b/to-a->../a root/9/sub/up->../.. "
           "root/9/sub/here->. root/9/sub/outside->" +
               dir.path() + " root/to-file->b.txt root/loop1->loop2 root/loop2->loop1");
    const std::string expected = lines({
        "root/: .hidden a9.txt a10.txt b.txt loop1 loop2 to-file",
        "root/.git/: config",
        "root/9/: x.txt",
        "root/9/sub/: y.txt",
        "root/10/: z.txt",
        "root/only-folders/inner/: f",
        "root/" + gbk_folder + "/: " + gbk_file,
        "root/" + gbk_folder + "/2/: " + gbk_deep,
        "unreadable 0",
    });
    EXPECT_EQ(walk_text(dir.path(), dir.path() + "root"), expected);
    EXPECT_EQ(walk_text(dir.path(), dir.path() + "root/"), expected);

    // A link chosen as the root itself is followed (the user chose it).
    create(dir, "chosen->root/9");
    EXPECT_EQ(walk_text(dir.path(), dir.path() + "chosen"),
              "chosen/: x.txt\nchosen/sub/: y.txt\nunreadable 0\n");
}

// Folders a user may not read are skipped with what they hold, counted,
// and kept with their reason; the rest of the tree is still walked. An
// unreadable chosen folder is one of them.
TEST(FolderTree, UnreadableFoldersAreSkippedAndCounted) {
    test::TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    create(dir,
           "root/ root/f root/a/ root/a/f root/a/locked/ root/a/locked/f "
           "root/a/locked/inner/ root/a/locked/inner/f root/b/ root/b/f root/" +
               gbk_folder + "/ root/" + gbk_folder + "/f");
    struct Lock {
        std::string folder;
        mode_t mode;
    };
    const Lock locks[] = {{"root/a/locked", 0000},        // no access at all
                          {"root/" + gbk_folder, 0300}};  // may enter, not list
    for (const Lock& lock : locks)
        ASSERT_EQ(::chmod((dir.path() + lock.folder).c_str(), lock.mode), 0);
    const auto text = in_child(become_non_root, [&] {
        return walk_text(dir.path(), dir.path() + "root") + "--\n" +
               walk_text(dir.path(), dir.path() + "root/a/locked");
    });
    for (const Lock& lock : locks) ::chmod((dir.path() + lock.folder).c_str(), 0755);
    if (text.status == 77) GTEST_SKIP() << "cannot run a child process as nobody";
    EXPECT_EQ(text.status, 0);
    const std::string denied = " " + std::to_string(EACCES);
    EXPECT_EQ(text.text, lines({
                             "root/: f",
                             "root/a/: f",
                             "root/b/: f",
                             "unreadable 2",
                             "root/a/locked/" + denied,
                             "root/" + gbk_folder + "/" + denied,
                             "--",
                             "unreadable 1",
                             "root/a/locked/" + denied,
                         }));
}

// root/sub/loop shows root again through a bind mount (in a mount
// namespace of a child process): its files are not added twice.
TEST(FolderTree, ABindMountOfAnAncestorIsWalkedOnce) {
    test::TempDir dir;
    create(dir, "root/ root/f root/sub/ root/sub/g root/sub/loop/");
    const auto text = in_child(
        [&] {
            return ::unshare(CLONE_NEWNS) == 0 &&
                   ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                   ::mount((dir.path() + "root").c_str(), (dir.path() + "root/sub/loop").c_str(),
                           nullptr, MS_BIND, nullptr) == 0;
        },
        [&] { return walk_text(dir.path(), dir.path() + "root"); });
    if (text.status == 77) GTEST_SKIP() << "no mount namespace here";
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.text, "root/: f\nroot/sub/: g\nunreadable 0\n");
}

// Another process keeps swapping folders of the tree (an ancestor and a
// deeper one) for links to a private folder of the same shape, while the
// tree is walked again and again: no walk may ever list the private files,
// at any depth.
TEST(FolderTree, FoldersSwappedForLinksDuringTheWalkAreNeverFollowed) {
    test::TempDir dir;
    create(dir,
           "tree/ tree/f tree/a/ tree/a/f tree/a/b/ tree/a/b/f tree/a/b/c/ tree/a/b/c/f "
           "private/ private/secret private/b/ private/b/secret private/b/c/ "
           "private/b/c/secret private/c/ private/c/secret");
    // Many files keep each folder's listing, and so the moment between
    // seeing a subfolder and opening it, long enough for the swaps to land.
    for (int i = 0; i < 300; ++i)
        for (const char* folder : {"tree/a/", "tree/a/b/"})
            dir.write_file(folder + std::to_string(i));
    ASSERT_EQ(::chmod((dir.path() + "private").c_str(), 0700), 0);
    const std::string tree = dir.path() + "tree/";
    const std::string secret = dir.path() + "private";
    const pid_t attacker = ::fork();
    if (attacker == 0) {
        ::alarm(60);  // never outlives the test
        // The links stay in place about half of the time.
        const std::string swapped[] = {tree + "a/b", tree + "a"};
        for (;;) {
            for (const std::string& folder : swapped) {
                if (::rename(folder.c_str(), (folder + ".real").c_str()) != 0) continue;
                // A link not made (the walk took the name back) is a round
                // without a swap.
                [[maybe_unused]] const int linked = ::symlink(secret.c_str(), folder.c_str());
            }
            for (int i = 1; i >= 0; --i) {
                const std::string& folder = swapped[i];
                if (::unlink(folder.c_str()) == 0)
                    (void)::rename((folder + ".real").c_str(), folder.c_str());
            }
        }
    }
    ASSERT_GT(attacker, 0);
    const Codec codec;
    int walks_listing_secrets = 0;
    int files_listed = 0;
    for (int walk = 0; walk < 250; ++walk) {
        bool listed_secret = false;
        (void)walk_folder_tree(tree, codec, [&](const std::string&, std::vector<ItemName> names) {
            for (const ItemName& name : names) {
                listed_secret = listed_secret || name.fs == "secret";
                ++files_listed;
            }
        });
        walks_listing_secrets += listed_secret ? 1 : 0;
    }
    ::kill(attacker, SIGKILL);
    ::waitpid(attacker, nullptr, 0);
    EXPECT_EQ(walks_listing_secrets, 0);
    EXPECT_GE(files_listed, 250) << "every walk lists at least the root's own file";
}

}  // namespace
}  // namespace varnel
