// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small exFAT image mounted through FUSE (exfat-fuse), or a FAT image
// mounted through fusefat, for the life of the object, where the machine
// allows it: the image file itself, or, where exfat-fuse insists on a block
// device (as root), a loop device over it.

#include <sys/mount.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/temp_dir.h"

namespace varnel::test {

// Writes `content` into the file at `path` (created or emptied); false when
// it cannot be written.
inline bool put_file(const std::string& path, const std::string& content) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && written;
}

// The content of the file at `path`; empty when it cannot be read.
inline std::string get_file(const std::string& path) {
    std::string content;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;) content += static_cast<char>(c);
        std::fclose(file);
    }
    return content;
}

enum class FuseKind { exfat, fat };

class ExfatMount {
public:
    explicit ExfatMount(FuseKind kind = FuseKind::exfat) : kind_(kind) {
        const std::string image = temp_.path() + "disk.img";
        const std::string make = kind == FuseKind::fat ? "mkfs.vfat" : "mkfs.exfat";
        if (!run("truncate -s 64M '" + image + "' && " + make + " '" + image + "' && mkdir '" +
                 mount_point() + "'"))
            return;
        image_ = image;
        mounted_ = mount();
    }
    ~ExfatMount() {
        unmount();
        // The FUSE daemon lets go of the loop device a moment after the unmount.
        for (int attempt = 0; !loop_.empty() && attempt < 40; ++attempt) {
            if (run("losetup -d " + loop_)) break;
            usleep(50'000);
        }
    }
    ExfatMount(const ExfatMount&) = delete;
    ExfatMount& operator=(const ExfatMount&) = delete;

    bool mounted() const { return mounted_; }
    const char* name() const {
        return kind_ == FuseKind::fat ? "FAT (fusefat)" : "exFAT (exfat-fuse)";
    }
    std::string mount_point() const { return temp_.path() + "mnt/"; }

    // Unmounts and mounts the image again (FUSE numbers files afresh).
    bool remount() {
        unmount();
        mounted_ = mount();
        return mounted_;
    }

private:
    static bool run(const std::string& command) {
        return std::system(("{ " + command + "; } >/dev/null 2>&1").c_str()) == 0;
    }
    bool mount() {
        if (image_.empty() || access("/dev/fuse", R_OK | W_OK) != 0) return false;
        if (kind_ == FuseKind::fat)
            return run("fusefat -o rw+ '" + image_ + "' '" + mount_point() + "'");
        if (run("mount.exfat-fuse '" + image_ + "' '" + mount_point() + "'")) return true;
        if (loop_.empty()) {
            const std::string file = temp_.path() + "loop";
            if (!run("losetup -f --show '" + image_ + "' > '" + file + "'")) return false;
            loop_ = temp_.read_file("loop");
            while (!loop_.empty() && loop_.back() == '\n') loop_.pop_back();
        }
        return !loop_.empty() && run("mount.exfat-fuse " + loop_ + " '" + mount_point() + "'");
    }
    void unmount() {
        if (mounted_) umount2(mount_point().c_str(), 0);
        mounted_ = false;
    }

    FuseKind kind_;
    TempDir temp_;
    std::string image_;
    std::string loop_;
    bool mounted_ = false;
};

}  // namespace varnel::test
