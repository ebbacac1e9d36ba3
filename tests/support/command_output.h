// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running another program (a tagger, a script) from a test and reading what
// it printed.

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace varnel::test {

// Everything `command` (run by the shell) wrote to standard output; nullopt
// when it could not be started.
inline std::optional<std::string> command_output(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string output;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, got);
    pclose(pipe);
    return output;
}

// The lines of command_output (none when it could not be started).
inline std::vector<std::string> command_output_lines(const std::string& command) {
    std::vector<std::string> lines;
    std::istringstream in(command_output(command).value_or(std::string()));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// UTF-8 of bytes taken as Latin-1: what other readers show for texts under
// ID3v2 encoding 0.
inline std::string latin1_to_utf8(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

}  // namespace varnel::test
