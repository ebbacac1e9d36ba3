// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/preset.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/language.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

std::string gb(std::string_view utf8) {
    return code_page(utf8);
}

// 癨 is 0x81 0x5C in GBK: its second byte is a backslash that must not be
// taken for an escape.
const std::string backslash_trail = "\x81\x5C";

// Every control of every page set away from its default.
std::vector<RuleStep> every_control() {
    RuleStep number;
    number.rule.active = RulePage::number;
    number.rule.number =
        NumberOptions{NameScope::both, gb("前 缀 "), "body\\x", "-12",      " suf",  "ep",
                      gb("新扩展"),    "",           "es",      "-9999999", "-12345"};
    RuleStep replace;
    replace.enabled = false;
    replace.rule.active = RulePage::replace;
    replace.rule.replace =
        ReplaceOptions{"a\nb\rc", backslash_trail + "\\n", true, NameScope::extension, true};
    RuleStep insert;
    insert.rule.active = RulePage::insert;
    insert.rule.insert = InsertOptions{gb("插入"), "=x=", true, "255", true, ""};
    RuleStep letter_case;
    letter_case.rule.active = RulePage::letter_case;
    letter_case.rule.letter_case = CaseOptions{CaseChoice::title_case, CaseChoice::first_lower};
    RuleStep tags;
    tags.rule.active = RulePage::tags;
    tags.rule.tags.tag_template = gb("#1 - #2【#5】");
    tags.rule.tags.v1_first = true;
    return {number, replace, insert, letter_case, tags};
}

// The settings of the step's own page, as text, to compare steps.
std::string page_of(const RuleStep& step) {
    Preset one{false, {step}, {}};
    return preset_text(one);
}

TEST(Preset, EveryControlOfEveryPageRoundTripsByteForByte) {
    Preset chain{true, every_control(), {}};
    const std::string text = preset_text(chain);
    const PresetRead read = read_preset_text(text);
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.preset.steps.size(), chain.steps.size());
    EXPECT_TRUE(read.preset.chain);
    for (std::size_t k = 0; k < chain.steps.size(); ++k) {
        EXPECT_EQ(page_of(read.preset.steps[k]), page_of(chain.steps[k])) << k;
        EXPECT_EQ(read.preset.steps[k].enabled, chain.steps[k].enabled) << k;
    }
    EXPECT_EQ(read.preset.steps[1].rule.replace.find, "a\nb\rc");
    EXPECT_EQ(read.preset.steps[1].rule.replace.with, backslash_trail + "\\n");
    EXPECT_EQ(read.preset.steps[0].rule.number.prefix, gb("前 缀 "));
    EXPECT_EQ(preset_text(read.preset), text);
    // One line per key: the line feed inside a value is written escaped.
    EXPECT_NE(text.find(gb("查找内容") + "=a\\nb\\rc\n"), std::string::npos);
    EXPECT_NE(text.find(backslash_trail + "\\\\n\n"), std::string::npos);
}

TEST(Preset, UnknownKeysAndSectionsAreKept) {
    const std::string text = "[" + gb("Varnel预设") + "]\r\n" + gb("版本") + "=1\r\n" + gb("将来") +
                             "=x\r\n[" + gb("第1步") + "]\r\n" + gb("规则") + "=" + gb("大小写") +
                             "\r\nnew key=1\r\n; remark\r\n[later]\r\nz=2\r\n";
    const PresetRead read = read_preset_text(text);
    ASSERT_EQ(read.error, "");
    EXPECT_FALSE(read.preset.chain);
    ASSERT_EQ(read.preset.steps.size(), 1U);
    EXPECT_EQ(read.preset.steps[0].rule.active, RulePage::letter_case);
    const std::string again = preset_text(read.preset);
    for (const std::string& kept :
         {gb("将来") + "=x\n", std::string("new key=1\n; remark\n"), std::string("[later]\nz=2\n")})
        EXPECT_NE(again.find(kept), std::string::npos) << kept << "\n" << again;
    EXPECT_EQ(read_preset_text(again).preset.unknown.size(), read.preset.unknown.size());
}

struct Damaged {
    const char* what;
    std::string text;
    std::string reason_part;
};

std::string header(const std::string& extra = "") {
    return "[" + gb("Varnel预设") + "]\n" + gb("版本") + "=1\n" + extra;
}

std::string step1(const std::string& lines) {
    return "[" + gb("第1步") + "]\n" + lines;
}

class DamagedPreset : public testing::TestWithParam<Damaged> {};

TEST_P(DamagedPreset, IsRefusedWithItsReason) {
    set_text_language(Language::chinese);
    const Damaged& c = GetParam();
    const PresetRead read = read_preset_text(c.text);
    EXPECT_NE(read.error.find(c.reason_part), std::string::npos) << read.error;
    EXPECT_TRUE(read.preset.steps.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedPreset,
    testing::Values(
        Damaged{"empty", "", gb("不是Varnel预设文件")},
        Damaged{"config_ini", "[" + gb("预览选项") + "]\n" + gb("自动预览") + "=" + gb("开") + "\n",
                gb("不是Varnel预设文件")},
        Damaged{"newer_version", "[" + gb("Varnel预设") + "]\n" + gb("版本") + "=2\n",
                gb("预设版本2")},
        Damaged{"no_version", "[" + gb("Varnel预设") + "]\n", gb("缺少") + gb("版本")},
        Damaged{"missing_step",
                header(gb("规则链") + "=" + gb("开") + "\n" + gb("步数") + "=2\n") +
                    step1(gb("规则") + "=" + gb("插入") + "\n"),
                gb("缺少") + "[" + gb("第2步") + "]"},
        Damaged{"two_steps_without_chain", header(gb("步数") + "=2\n"), gb("步数")},
        Damaged{"no_rule", header() + step1(gb("启用") + "=" + gb("开") + "\n"),
                gb("缺少") + gb("规则")},
        Damaged{"unknown_rule", header() + step1(gb("规则") + "=" + gb("随机") + "\n"),
                gb("规则") + gb("的值“") + gb("随机")},
        Damaged{"bad_switch",
                header() +
                    step1(gb("规则") + "=" + gb("替换/删除") + "\n" + gb("区分大小写") + "=yes\n"),
                gb("第5行")},
        Damaged{"bad_number",
                header() + step1(gb("规则") + "=" + gb("常规") + "\n" + gb("文件名位数") + "=x\n"),
                gb("文件名位数")},
        Damaged{"number_too_long",
                header() + step1(gb("规则") + "=" + gb("常规") + "\n" + gb("增量") + "=1234567\n"),
                gb("增量")},
        Damaged{
            "bad_escape",
            header() + step1(gb("规则") + "=" + gb("插入") + "\n" + gb("文件名字符") + "=a\\t\n"),
            gb("文件名字符")}),
    [](const auto& param_info) { return std::string(param_info.param.what); });

TEST(Preset, FilesRoundTripAndMissingOnesNameTheSystemsReason) {
    test::TempDir dir;
    const std::string path = dir.path() + "p.varnel-preset";
    const Preset chain{true, every_control(), {}};
    ASSERT_EQ(write_preset_file(path, chain), "");
    const PresetRead read = read_preset_file(path);
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(preset_text(read.preset), preset_text(chain));
    set_text_language(Language::english);
    const PresetRead absent = read_preset_file(dir.path() + "absent");
    set_text_language(Language::chinese);
    EXPECT_NE(absent.error.find("No such file or directory"), std::string::npos) << absent.error;
    EXPECT_NE(write_preset_file(dir.path() + "no/such/folder", chain), "");
}

}  // namespace
}  // namespace varnel
