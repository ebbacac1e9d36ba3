// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tagged files of every audio format mutagen writes, made at test time by
// tests/audio/make_corpus.py (its path is VARNEL_AUDIO_CORPUS_SCRIPT).

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/command_output.h"

namespace varnel::test {

struct CorpusFile {
    std::string name;
    std::vector<std::string> fields;  // artist, title, album, track, year, genre (UTF-8)
};

// Writes the corpus into `folder` (ending in '/'); nullopt when no python3
// with mutagen is there. Debian's python3 first: the one on PATH may be a
// private one without Debian's packages.
inline std::optional<std::vector<CorpusFile>> make_audio_corpus(const std::string& folder) {
    for (const std::string python : {"/usr/bin/python3", "python3"}) {
        if (command_output(python + " -c 'import mutagen' 2>/dev/null && echo yes") != "yes\n")
            continue;
        std::vector<CorpusFile> files;
        for (const std::string& line :
             command_output_lines(python + " " VARNEL_AUDIO_CORPUS_SCRIPT " '" + folder + "'")) {
            std::istringstream in(line);
            CorpusFile file;
            std::getline(in, file.name, '\t');
            for (std::string field; std::getline(in, field, '\t');) file.fields.push_back(field);
            file.fields.resize(6);
            files.push_back(std::move(file));
        }
        return files;
    }
    return std::nullopt;
}

}  // namespace varnel::test
