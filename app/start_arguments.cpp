// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_arguments.h"

#include "app/product.h"

namespace varnel {

StartArguments parse_start_arguments(const std::vector<std::string>& args) {
    StartArguments parsed;
    bool options_end = false;
    for (const std::string& arg : args) {
        if (options_end || arg.size() < 2 || arg[0] != '-') {
            parsed.paths.push_back(arg);
        } else if (arg == "--") {
            options_end = true;
        } else if (arg == "--version" || arg == "-v") {
            parsed.action = StartArguments::Action::version;
            parsed.error.clear();
            return parsed;
        } else if (arg == "--help" || arg == "-h") {
            parsed.action = StartArguments::Action::help;
            parsed.error.clear();
            return parsed;
        } else if (parsed.error.empty()) {
            parsed.error = "unknown option " + arg;
        }
    }
    if (!parsed.error.empty()) parsed.action = StartArguments::Action::usage_error;
    return parsed;
}

std::string start_help_text() {
    return "Usage: varnel [--] [FILE|FOLDER]...\n"
           "       varnel --version | --help\n"
           "\n"
           "Starts the desktop batch renamer. Each FILE is added to the list with its\n"
           "own folder; each FOLDER adds every file directly inside it, as if they\n"
           "had been dropped on the window.\n";
}

std::string version_text() {
    return std::string(product::name) + " " + std::string(product::version) + "\n";
}

}  // namespace varnel
