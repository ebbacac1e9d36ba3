// SPDX-License-Identifier: GPL-3.0-or-later
// rename_no_replace on real file systems other than the one holding the
// temporary folder. Each test skips itself when its file system cannot be
// had on this machine.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/dir_handle.h"
#include "platform/folder_listing.h"
#include "platform/rename_file.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

constexpr long tmpfs_magic = 0x01021994;

void write(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Renames in `folder` the way the program does, checking that nothing is
// ever replaced there.
void exercise_renames(const std::string& folder) {
    write(folder + "one.txt", "1");
    write(folder + "two.txt", "2");
    const auto dir = DirHandle::open(folder);
    ASSERT_TRUE(dir);
    EXPECT_EQ(rename_no_replace(dir->fd(), "one.txt", "two.txt"), EEXIST);
    EXPECT_EQ(read(folder + "one.txt"), "1");
    EXPECT_EQ(read(folder + "two.txt"), "2");
    EXPECT_EQ(rename_no_replace(dir->fd(), "one.txt", "three.txt"), 0);
    EXPECT_EQ(read(folder + "three.txt"), "1");
}

TEST(RenameOnTmpfs, NeverReplaces) {
    struct statfs info {};
    if (statfs("/dev/shm", &info) != 0 || info.f_type != tmpfs_magic ||
        access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "/dev/shm is not a writable tmpfs";
    std::string folder = "/dev/shm/varnel-rename-XXXXXX";
    ASSERT_TRUE(mkdtemp(folder.data()));
    folder += '/';
    exercise_renames(folder);
    std::filesystem::remove_all(folder);
}

// Mounts a small FAT image for the life of the object, when the machine allows.
class FatMount {
public:
    FatMount() {
        const std::string image = temp_.path() + "fat.img";
        const std::string command = "truncate -s 2M '" + image + "' && mkfs.vfat '" + image +
                                    "' >/dev/null 2>&1 && mkdir '" + mount_point() +
                                    "' && mount -o loop '" + image + "' '" + mount_point() +
                                    "' >/dev/null 2>&1";
        mounted_ = std::system(command.c_str()) == 0;
    }
    ~FatMount() {
        // Detach even when busy, so that the folder can be removed.
        if (mounted_) umount2(mount_point().c_str(), MNT_DETACH);
    }
    FatMount(const FatMount&) = delete;
    FatMount& operator=(const FatMount&) = delete;

    bool mounted() const { return mounted_; }
    std::string mount_point() const { return temp_.path() + "mnt/"; }

private:
    test::TempDir temp_;
    bool mounted_ = false;
};

TEST(RenameOnFat, NeverReplacesAndChangesCase) {
    FatMount fat;
    if (!fat.mounted()) GTEST_SKIP() << "cannot mount a FAT image here (needs root, loop, vfat)";
    exercise_renames(fat.mount_point());
    // FAT ignores case: "three.txt" and "THREE.TXT" are one entry.
    const auto dir = DirHandle::open(fat.mount_point());
    ASSERT_TRUE(dir);
    EXPECT_EQ(rename_no_replace(dir->fd(), "three.txt", "Three.txt"), 0);
    auto names = list_folder_files(fat.mount_point());
    ASSERT_TRUE(names);
    std::sort(names->begin(), names->end());
    EXPECT_EQ(*names, (std::vector<std::string>{"Three.txt", "two.txt"}));
    EXPECT_EQ(read(fat.mount_point() + "Three.txt"), "1");
    EXPECT_EQ(rename_no_replace(dir->fd(), "Three.txt", "TWO.TXT"), EEXIST);
}

}  // namespace
}  // namespace varnel
