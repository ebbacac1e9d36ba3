// SPDX-License-Identifier: GPL-3.0-or-later
// varnel-cli preview|rename chain: --step and --preset.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_fixture.h"
#include "rename/preset.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::CliRun;
using test::run_cli;
using test::TempDir;

// The new names (second fields) of preview's lines.
std::vector<std::string> new_names(const std::string& out) {
    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::size_t tab = out.find('\t', start);
        names.push_back(out.substr(tab + 1, end - tab - 1));
    }
    return names;
}

// preview of one rule (its words) over `names`.
std::vector<std::string> preview_rule(std::vector<std::string> rule,
                                      const std::vector<std::string>& names) {
    std::vector<std::string> args{"preview"};
    args.insert(args.end(), rule.begin(), rule.end());
    args.emplace_back("--");
    args.insert(args.end(), names.begin(), names.end());
    return new_names(run_cli(args).out);
}

using CliChainTest = test::CliFolderTest;

TEST(CliChain, GivesTheNamesOfTheSingleRulesRunOneAfterAnother) {
    const std::vector<std::string> names{"a b.TXT", "Abba.mp3", "中文 ab.jpg", "x.tar.gz", "noext"};
    struct Case {
        std::vector<std::string> steps;                 // --step values
        std::vector<std::vector<std::string>> singles;  // the same as single commands
    };
    const std::vector<Case> cases{
        {{"replace --find a --with b", "number --prefix x --digits 2"},
         {{"replace", "--find", "a", "--with", "b"}, {"number", "--prefix", "x", "--digits", "2"}}},
        {{"replace --find 'a b' --with \"c d\"", "case --name title --ext lower",
          "insert --text - --at end"},
         {{"replace", "--find", "a b", "--with", "c d"},
          {"case", "--name", "title", "--ext", "lower"},
          {"insert", "--text", "-", "--at", "end"}}},
        {{"replace --regex --find '(\\w)(\\w)' --with '$2$1'", "case --name upper"},
         {{"replace", "--regex", "--find", "(\\w)(\\w)", "--with", "$2$1"},
          {"case", "--name", "upper"}}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> expected = names;
        for (const auto& single : c.singles) expected = preview_rule(single, expected);
        std::vector<std::string> args{"preview", "chain"};
        for (const std::string& step : c.steps) {
            args.emplace_back("--step");
            args.push_back(step);
        }
        args.emplace_back("--");
        args.insert(args.end(), names.begin(), names.end());
        const CliRun run = run_cli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(new_names(run.out), expected) << c.steps.front();
    }
}

TEST_F(CliChainTest, RenamesInOneBatchThatOneUndoTakesBack) {
    const std::vector<std::string> names{"aa.txt", "ab.txt", "ba.txt"};
    for (const std::string& name : names) dir.write_file(name, name);
    const CliRun run = cli({"rename", "chain", "--step", "replace --find a --with z", "--step",
                            "number --prefix n", "--step", "case --name upper --ext lower",
                            "aa.txt", "ab.txt", "ba.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"N0.txt", "N1.txt", "N2.txt"}));
    EXPECT_EQ(dir.read_file("N1.txt"), "ab.txt");
    EXPECT_EQ(cli({"undo", "--last"}).status, 0);
    EXPECT_EQ(dir.names(), names);
    // Nothing older is left to undo: the chain was one batch.
    EXPECT_EQ(cli({"undo", "--last"}).status, 2);
}

TEST_F(CliChainTest, BadStepsAndPresetsExitTwoNamingWhyAndRenameNothing) {
    dir.write_file("a.txt");
    dir.write_file("damaged.preset",
                   "[Varnel预设]\n版本=1\n规则链=开\n步数=2\n[第1步]\n规则=替换/删除\n");
    struct Case {
        std::vector<std::string> args;
        std::string reason;  // part of the message
    };
    const std::vector<Case> cases{
        {{"chain", "--step", "replace --find a", "--step", "frobnicate"}, "--step 2 (frobnicate)"},
        {{"chain", "--step", "number --digits x"}, "--step 1"},
        {{"chain", "--step", "replace --find 'a"}, "quote"},
        {{"chain", "--step", "replace --regex --find ("}, "--find"},
        {{"chain", "--step", "case --journal j"}, "--journal"},
        {{"chain", "--step", "case a.txt"}, "a.txt"},
        {{"--preset", "missing.preset"}, "missing.preset"},
        {{"--preset", "damaged.preset"}, "damaged.preset"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"rename"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.emplace_back("a.txt");
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 2) << c.reason;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.txt", "damaged.preset"}));
    }
}

TEST_F(CliChainTest, PresetRunsItsRuleOrItsChainBeforeTheSteps) {
    RuleStep replace;
    replace.rule.active = RulePage::replace;
    replace.rule.replace.find = "a";
    replace.rule.replace.with = "b";
    RuleStep number;
    number.rule.active = RulePage::number;
    number.rule.number.prefix = "n";
    RuleStep off = number;
    off.enabled = false;
    off.rule.number.prefix = "never";
    struct Case {
        Preset preset;
        std::vector<std::string> more;  // further --step values
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {{false, {replace}, {}}, {}, {"bb.txt", "cb.txt"}},
        {{true, {replace, off, number}, {}}, {}, {"n0.txt", "n1.txt"}},
        {{false, {number}, {}}, {"case --name upper --ext lower"}, {"N0.txt", "N1.txt"}},
    };
    for (const Case& c : cases) {
        dir.write_file("p.preset", preset_text(c.preset));
        std::vector<std::string> args{"preview", "--preset", "p.preset"};
        for (const std::string& step : c.more) {
            args.emplace_back("--step");
            args.push_back(step);
        }
        args.insert(args.end(), {"aa.txt", "ca.txt"});
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(new_names(run.out), c.expected);
    }
}

}  // namespace
}  // namespace varnel
