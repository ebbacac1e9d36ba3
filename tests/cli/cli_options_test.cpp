// SPDX-License-Identifier: GPL-3.0-or-later
// What varnel-cli accepts as option values, its dry run and quiet mode,
// the bytes -0 prints, and the language of its messages.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

using test::CliEnv;
using test::CliRun;
using test::run_cli;
using test::TempDir;

struct NumericOption {
    const char* rule;
    const char* option;
    const char* longest;  // the longest value its field holds
};

// Every option that takes a whole number, with the width of its field.
const std::vector<NumericOption> numeric_options{
    {"number", "--start", "-1234567"}, {"number", "--step", "-12345"},
    {"number", "--digits", "100"},     {"number", "--ext-digits", "100"},
    {"insert", "--at", "-12"},         {"insert", "--ext-at", "-12"},
};

TEST(CliOptions, ABadNumberIsRefusedByNameAndRenamesNothing) {
    TempDir dir;
    dir.write_file("a.txt", "A");
    for (const NumericOption& o : numeric_options) {
        const std::string too_long = std::string(o.longest) + "0";
        for (const std::string& value : {std::string("x"), std::string("3.9"), std::string("1e3"),
                                         std::string(), std::string("１"), std::string("+1"),
                                         std::string("-"), std::string("1 "), too_long}) {
            const CliRun run =
                run_cli({"rename", o.rule, o.option, value, "a.txt"}, dir.path(), {}, {"C"});
            EXPECT_EQ(run.status, 2) << o.option << " " << value;
            const std::string head = std::string("varnel-cli: ") + o.option + ": \"" + value + "\"";
            EXPECT_EQ(run.err.rfind(head, 0), 0U) << run.err;
            EXPECT_EQ(run.out, "");
        }
    }
    EXPECT_EQ(run_cli({"rename", "number", "--digits", "x", "a.txt"}, dir.path(), {}, {"C"}).err,
              "varnel-cli: --digits: \"x\" is not a whole number\n(see varnel-cli --help)\n");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(dir.read_file("a.txt"), "A");
}

TEST(CliOptions, EdgeNumbersAreTakenAsTheWindowTakesThem) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const std::vector<Case> cases{
        {{"number", "--start", "0", "--step", "0"}, "a.txt\t0.txt\nb.txt\t0.txt\n"},
        {{"number", "--start", "5", "--step", "-3"}, "a.txt\t5.txt\nb.txt\t2.txt\n"},
        {{"number", "--start", "-1234567", "--step", "-12345"},
         "a.txt\t-1234567.txt\nb.txt\t-1246912.txt\n"},
        {{"number", "--digits", "0"}, "a.txt\t0.txt\nb.txt\t1.txt\n"},
        {{"number", "--digits", "007", "--start=9"}, "a.txt\t0000009.txt\nb.txt\t0000010.txt\n"},
        {{"insert", "--text", "-", "--at", "end"}, "a.txt\ta-.txt\nb.txt\tb-.txt\n"},
        {{"insert", "--text", "-", "--at", "0"}, "a.txt\t-a.txt\nb.txt\t-b.txt\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"preview"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"a.txt", "b.txt"});
        const CliRun run = run_cli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.out) << c.args[1] << " " << c.args[2];
    }
    // The widest 位数 pads to 100 digits.
    const CliRun wide = run_cli({"preview", "number", "--digits", "100", "a.txt"});
    EXPECT_EQ(wide.out, "a.txt\t" + std::string(100, '0') + ".txt\n");
}

// The options each help names, "--name" or "-x".
std::set<std::string> options_named(const std::string& help) {
    std::set<std::string> options;
    const std::regex option("(^|[^\\w$-])(--?[a-z0-9][a-z0-9-]*)");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), option);
         it != std::sregex_iterator(); ++it)
        options.insert((*it)[2]);
    return options;
}

// The Chinese help is a twin of the English one: the same options.
TEST(CliOptions, TheChineseHelpNamesTheOptionsTheEnglishOneNames) {
    for (const char* topic :
         {"preview", "fix-names", "undo", "tag", "fix-tags", "tags-from-names"}) {
        const std::string english = run_cli({topic, "--help"}, "/", {}, {"C"}).out;
        const std::string chinese = run_cli({topic, "--help"}, "/", {}, {"zh_CN.UTF-8"}).out;
        EXPECT_NE(english, chinese) << topic;
        EXPECT_GE(options_named(english).size(), 2U) << topic;
        EXPECT_EQ(options_named(chinese), options_named(english)) << topic;
    }
}

TEST(CliOptions, DryRunPrintsThePreviewAndTouchesNothing) {
    TempDir dir;
    TempDir state;
    dir.write_file("a.txt", "A");
    const CliEnv env{"C", state.path()};
    const std::vector<std::string> rule{"number", "--prefix", "n", "a.txt"};
    std::vector<std::string> preview{"preview"}, dry{"rename", "-n"}, long_dry{"rename"};
    preview.insert(preview.end(), rule.begin(), rule.end());
    dry.insert(dry.end(), rule.begin(), rule.end());
    long_dry.insert(long_dry.end(), rule.begin(), rule.end());
    long_dry.push_back("--dry-run");
    const CliRun expected = run_cli(preview, dir.path(), {}, env);
    EXPECT_EQ(expected.out, "a.txt\tn0.txt\n");
    for (const auto& args : {dry, long_dry}) {
        const CliRun run = run_cli(args, dir.path(), {}, env);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, expected.out);
    }
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.txt"});
    // No journal either.
    EXPECT_EQ(run_cli({"undo", "--list"}, "/", {}, env).out, "");
}

TEST(CliOptions, QuietPrintsOnlyFailuresAndTheSummary) {
    TempDir dir;
    dir.write_file("a.txt");
    dir.write_file("b.txt");
    dir.write_file("n1.txt", "taken");
    const CliRun run =
        run_cli({"rename", "number", "-q", "--prefix", "n", "a.txt", "b.txt"}, dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "更名失败 (File exists)\tb.txt\tn1.txt\n"
              "文件总数：2 个文件\n\n1 个文件更名成功！\n1 个文件更名失败！\n");
    EXPECT_TRUE(dir.exists("n0.txt"));
    const CliRun all_well =
        run_cli({"rename", "number", "--quiet", "--prefix", "m", "n0.txt"}, dir.path());
    EXPECT_EQ(all_well.out, "文件更名完毕！\n");
}

// The file-system bytes of a legacy name reach a program that opens them.
TEST(CliOptions, NullOutputCarriesTheFileSystemBytes) {
    TempDir dir;
    const std::string gbk = "\xD6\xD0\xCE\xC4.txt";  // 中文.txt in GBK
    dir.write_file(gbk, "legacy content");
    const CliRun run = run_cli({"preview", "-0", "case", "--ext", "upper", gbk}, dir.path());
    // The old name as listed; the new one as the rename writes it (UTF-8).
    EXPECT_EQ(run.out, gbk + std::string("\0", 1) + "中文.TXT" + std::string("\0", 1));
    TempDir elsewhere;
    const std::string opened = elsewhere.path() + "opened";
    const std::string command =
        "cd '" + dir.path() + "' && LANG=C XDG_STATE_HOME=" + test::test_state_home() +
        " '" VARNEL_CLI_PATH "' preview -0 " +
        "case --ext upper -- * | xargs -0 -n 2 sh -c 'cat -- \"$0\"' > '" + opened + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(opened);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "legacy content");
    // Without -0 the name is printed as text.
    EXPECT_EQ(run_cli({"preview", "case", "--ext", "upper", gbk}, dir.path()).out,
              "中文.txt\t中文.TXT\n");
}

// A list that cannot be read is refused with the system's reason.
TEST(CliOptions, AnUnreadableListNamesItsReason) {
    TempDir dir;
    dir.write_file("list", "a.txt\n");
    dir.write_file("a.txt");
    struct Case {
        std::string list;
        const char* reason;
    };
    std::vector<Case> cases{{dir.path() + "missing", "(No such file or directory)"},
                            {dir.path(), "(Is a directory)"}};
    if (::geteuid() != 0) {  // root reads it anyway
        ::chmod((dir.path() + "list").c_str(), 0);
        cases.push_back({dir.path() + "list", "(Permission denied)"});
    }
    for (const Case& c : cases) {
        const CliRun run =
            run_cli({"rename", "number", "--files-from", c.list}, dir.path(), {}, {"C"});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, "varnel-cli: cannot read the list " + c.list + " " + c.reason + "\n");
    }
    EXPECT_TRUE(dir.exists("a.txt"));
}

TEST(CliOptions, MessagesFollowTheLocale) {
    struct Case {
        const char* lang;
        const char* bad_number;
        const char* nothing_to_undo;
    };
    const std::vector<Case> cases{
        {"zh_CN.UTF-8", "varnel-cli: --step: \"1.5\" 不是整数\n",
         "varnel-cli: 没有尚未撤消的批量更名\n"},
        {"en_US.UTF-8", "varnel-cli: --step: \"1.5\" is not a whole number\n",
         "varnel-cli: no batch is left to undo\n"},
        {"C", "varnel-cli: --step: \"1.5\" is not a whole number\n",
         "varnel-cli: no batch is left to undo\n"},
    };
    for (const Case& c : cases) {
        TempDir state;
        const CliEnv env{c.lang, state.path()};
        const CliRun bad = run_cli({"preview", "number", "--step", "1.5", "a"}, "/", {}, env);
        EXPECT_EQ(bad.err.rfind(c.bad_number, 0), 0U) << c.lang << ": " << bad.err;
        EXPECT_EQ(run_cli({"undo", "--last"}, "/", {}, env).err, c.nothing_to_undo) << c.lang;
        const std::string help = run_cli({"--help"}, "/", {}, env).out;
        const bool chinese_head = help.starts_with("varnel-cli：");
        EXPECT_EQ(chinese_head, std::string(c.lang).starts_with("zh")) << c.lang;
    }
}

}  // namespace
}  // namespace varnel
