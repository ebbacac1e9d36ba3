// SPDX-License-Identifier: GPL-3.0-or-later
// Every file of the tag corpus beside the checkout (test data of public tag
// libraries: every ID3 version, damaged and unusual tags) through varnel-cli
// show, edit, remove and fix-tags on copies, checked with mutagen: no frame
// lost or changed but the edited title, the audio byte-identical. A file
// the program refuses with a reason, unchanged, counts as kept. Skipped
// where the corpus or mutagen is missing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/command_output.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

// $VARNEL_ID3_CORPUS, else ../shared/corpus/id3 beside the source tree (or
// beside the folder holding it, for a work tree one level deeper); empty
// when none exists.
std::string corpus_folder() {
    if (const char* set = std::getenv("VARNEL_ID3_CORPUS")) return set;
    const fs::path root = VARNEL_SOURCE_ROOT;
    for (const fs::path& base : {root.parent_path(), root.parent_path().parent_path()}) {
        const fs::path folder = base / "shared" / "corpus" / "id3";
        if (fs::exists(folder / "SOURCES.txt")) return folder.string() + "/";
    }
    return {};
}

// The file names listed in SOURCES.txt (first column; # starts a comment),
// each once.
std::vector<std::string> corpus_files(const std::string& folder) {
    std::ifstream in(folder + "/SOURCES.txt");
    std::set<std::string> names;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        names.insert(line.substr(0, line.find('\t')));
    }
    return {names.begin(), names.end()};
}

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool has_mutagen() {
    return std::system("/usr/bin/python3 -c 'import mutagen' >/dev/null 2>&1") == 0;
}

struct Operation {
    const char* name;
    std::vector<std::string> args;  // the copy's path is added last
};

TEST(CliCorpusReplay, KeepsEveryFrameAndTheAudioOfEveryCorpusFile) {
    const std::string folder = corpus_folder();
    if (folder.empty())
        GTEST_SKIP() << "no tag corpus at ../shared/corpus/id3 or $VARNEL_ID3_CORPUS";
    if (!has_mutagen()) GTEST_SKIP() << "python3-mutagen is not installed";
    const std::vector<Operation> operations = {
        {"show", {"tag"}},
        {"edit", {"tag", "--set-v2", "title=Replayed"}},
        {"remove", {"tag", "--remove-v2"}},
        {"fix", {"fix-tags"}},
    };
    test::TempDir dir;
    std::string comparisons;                      // OP<TAB>BEFORE<TAB>AFTER lines for the script
    std::map<std::string, std::string> refused;   // copy -> reason
    std::map<std::string, std::string> failures;  // copy -> what went wrong
    std::map<std::string, std::string> file_of;   // copy -> corpus file
    const std::vector<std::string> files = corpus_files(folder);
    ASSERT_FALSE(files.empty());
    for (const std::string& name : files) {
        const std::string original = folder + "/" + name;
        const std::string bytes = read_all(original);
        for (const Operation& op : operations) {
            // Tags are written only to names ending in .mp3.
            const std::string copy = dir.path() + op.name + "-" + name + ".mp3";
            std::ofstream(copy, std::ios::binary) << bytes;
            file_of[copy] = name;
            std::vector<std::string> args = op.args;
            args.push_back(copy);
            const test::CliRun run = test::run_cli(args);
            const bool unchanged = read_all(copy) == bytes;
            if (std::string(op.name) == "show") {
                if (run.status != 0 || !unchanged)
                    failures[copy] = "show: exit " + std::to_string(run.status) +
                                     (unchanged ? "" : ", file changed");
            } else if (run.status != 0) {
                if (!unchanged)
                    failures[copy] =
                        std::string(op.name) + " failed and changed the file: " + run.err;
                else if (run.err.empty() && run.out.find("(") == std::string::npos)
                    failures[copy] = std::string(op.name) + " failed without a reason";
                else
                    refused[copy] = run.err + run.out;
            } else {
                comparisons += std::string(op.name) + "\t" + original + "\t" + copy + "\n";
            }
        }
    }
    dir.write_file("compare.txt", comparisons);
    for (const std::string& line : test::command_output_lines(
             "/usr/bin/python3 '" VARNEL_CORPUS_COMPARE "' < '" + dir.path() + "compare.txt'")) {
        std::istringstream fields(line);
        std::string verdict, copy, why;
        std::getline(fields, verdict, '\t');
        std::getline(fields, copy, '\t');
        std::getline(fields, why);
        if (verdict == "FAIL") failures[copy] = why;
    }
    std::set<std::string> failed_files, refused_files;
    for (const auto& [copy, why] : failures) {
        failed_files.insert(file_of[copy]);
        ADD_FAILURE() << copy.substr(dir.path().size()) << ": " << why;
    }
    for (const auto& [copy, why] : refused) {
        refused_files.insert(file_of[copy]);
        std::printf("refused: %s: %s\n", copy.substr(dir.path().size()).c_str(),
                    why.substr(0, why.find('\n')).c_str());
    }
    std::size_t passed = 0, refused_only = 0;
    for (const std::string& name : files) {
        if (failed_files.count(name)) continue;
        ++(refused_files.count(name) ? refused_only : passed);
    }
    std::printf("corpus: %zu files, %zu pass, %zu refused (with a reason), %zu fail\n",
                files.size(), passed, refused_only, failed_files.size());
}

}  // namespace
}  // namespace varnel
