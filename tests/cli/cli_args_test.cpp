// SPDX-License-Identifier: GPL-3.0-or-later
// The help against the option table: every option a command takes with
// any rule is named by that command's help, in both languages.
#include "cli/cli_args.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/language.h"

namespace varnel::cli {
namespace {

TEST(CliArgs, EveryOptionOfTheTableIsInItsCommandsHelp) {
    struct Command {
        CommandKind kind;
        const char* topic;
    };
    const Command commands[] = {{CommandKind::preview, "preview"},
                                {CommandKind::rename, "rename"},
                                {CommandKind::fix_names, "fix-names"}};
    const RulePage rules[] = {RulePage::number, RulePage::replace, RulePage::insert,
                              RulePage::letter_case, RulePage::tags};
    for (const Language language : {Language::english, Language::chinese}) {
        set_text_language(language);
        for (const Command& command : commands) {
            const std::string help = help_text(command.topic);
            for (const RulePage rule : rules) {
                const std::vector<std::string> names = option_names(command.kind, rule);
                EXPECT_GE(names.size(), 3U) << command.topic;
                for (const std::string& name : names)
                    EXPECT_NE(help.find(name), std::string::npos)
                        << command.topic << " " << name << " language "
                        << static_cast<int>(language);
            }
        }
    }
    set_text_language(Language::chinese);
}

}  // namespace
}  // namespace varnel::cli
