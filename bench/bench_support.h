// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the benchmarks: sample names and scratch folders.

#include <string>
#include <vector>

namespace varnel::bench {

// `count` file names, a mix of ASCII and GBK (code-page) names with
// extensions, the same on every run.
std::vector<std::string> sample_names(int count);

// Creates each of `names` in `folder` (ending in '/') where it is missing.
void create_files_in(const std::string& folder, const std::vector<std::string>& names);

// `count` MP3 files "s0.mp3", "s1.mp3", … in `folder` (ending in '/'),
// each an ID3v2.3 tag (TIT2 "Song", TPE1 "Artist", 1 KiB of padding)
// before 200 KiB of audio bytes; their paths in order.
std::vector<std::string> write_tagged_mp3s(const std::string& folder, int count);

// A fresh folder for scratch files (under $VARNEL_BENCH_DIR, else $TMPDIR,
// else /tmp), removed with its contents when the object goes away.
class ScratchDir {
public:
    ScratchDir();
    // A fresh folder under `base`.
    explicit ScratchDir(const std::string& base);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }  // ends in '/'
    // Creates `count` empty files named by `name_of(i)`.
    void create_files(const std::vector<std::string>& names) const;

private:
    std::string path_;
};

}  // namespace varnel::bench
