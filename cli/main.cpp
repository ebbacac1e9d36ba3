// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli: the command-line face of the rename engine.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/version.h"
#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "platform/codec.h"
#include "platform/language.h"

int main(int argc, char** argv) {
    using namespace varnel;
    const std::vector<std::string> args(argv + 1, argv + argc);
    set_text_language(language_from_environment());
    try {
        const Codec codec;
        const cli::ParsedCommand parsed = cli::parse_command(args, codec);
        if (!parsed.command) {
            std::cerr << "varnel-cli: " << cli::for_terminal(parsed.error, codec) << '\n'
                      << cli::for_terminal(
                             say("（见 varnel-cli --help）", "(see varnel-cli --help)"), codec)
                      << '\n';
            return 2;
        }
        const cli::Command& command = *parsed.command;
        switch (command.kind) {
            case cli::CommandKind::help:
                std::cout << cli::for_terminal(cli::help_text(command.help_topic), codec);
                return 0;
            case cli::CommandKind::version:
                std::cout << "varnel-cli " << product::version << '\n';
                return 0;
            case cli::CommandKind::preview:
                return cli::run_preview(command, codec, std::cout);
            case cli::CommandKind::rename:
            case cli::CommandKind::fix_names:
                return cli::run_rename(command, codec, std::cout, std::cerr);
            case cli::CommandKind::undo:
                return cli::run_undo(command, codec, std::cout, std::cerr);
            case cli::CommandKind::tag:
                return cli::run_tag(command, codec, std::cout, std::cerr);
            case cli::CommandKind::tags_from_names:
                return cli::run_tags_from_names(command, codec, std::cout, std::cerr);
            case cli::CommandKind::fix_tags:
                return cli::run_fix_tags(command, codec, std::cout, std::cerr);
        }
    } catch (const std::exception& error) {
        std::cerr << "varnel-cli: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
