// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_arguments.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

using Action = StartArguments::Action;
using Args = std::vector<std::string>;

TEST(StartArguments, PathsOptionsAndTheirOrder) {
    struct Case {
        Args args;
        Action action;
        Args paths;
    };
    const Case cases[] = {
        {{}, Action::run, {}},
        {{"a.mp3", "/music", "b c.txt"}, Action::run, {"a.mp3", "/music", "b c.txt"}},
        {{"-", "x"}, Action::run, {"-", "x"}},
        {{"--", "--version", "-h"}, Action::run, {"--version", "-h"}},
        {{"a", "--version"}, Action::version, {"a"}},
        {{"--help"}, Action::help, {}},
        {{"-v"}, Action::version, {}},
        {{"--nope", "a"}, Action::usage_error, {"a"}},
        // Toolkit options are seen before the toolkit takes them out:
        // --version wins over them.
        {{"-platform", "offscreen", "--version"}, Action::version, {"offscreen"}},
    };
    for (const Case& c : cases) {
        const StartArguments parsed = parse_start_arguments(c.args);
        EXPECT_EQ(parsed.action, c.action) << testing::PrintToString(c.args);
        EXPECT_EQ(parsed.paths, c.paths) << testing::PrintToString(c.args);
        EXPECT_EQ(parsed.error.empty(), c.action != Action::usage_error);
    }
}

}  // namespace
}  // namespace varnel
