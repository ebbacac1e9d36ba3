// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of the desktop program:
//   varnel [--] [FILE|FOLDER]...    add these at start, as a drop would
//   varnel --version | --help
// Toolkit options are taken out before this sees the arguments.

#include <string>
#include <vector>

namespace varnel {

struct StartArguments {
    enum class Action { run, version, help, usage_error };
    Action action = Action::run;
    std::vector<std::string> paths;  // file-system bytes, in the order given
    std::string error;               // for usage_error: what was wrong
};

// `args` without the program's name. After "--" every argument is a path;
// before it, an argument starting with '-' (other than "-" itself) is an
// option. --version and --help win over an unknown option anywhere (so they
// can be answered before the toolkit has taken its own options out).
[[nodiscard]] StartArguments parse_start_arguments(const std::vector<std::string>& args);

// The text of --help, and of --version ("Varnel 1.3").
[[nodiscard]] std::string start_help_text();
[[nodiscard]] std::string version_text();

}  // namespace varnel
