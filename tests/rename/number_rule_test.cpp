// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/number_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnel {
namespace {

std::vector<std::string> run(const NumberOptions& options, const std::vector<std::string>& old) {
    std::vector<std::string> out(old.size());
    compute_new_names(options, old, out);
    return out;
}

using Names = std::vector<std::string>;

TEST(NumberRuleMainName, DefaultsNumberFromZeroAndKeepTheExtension) {
    EXPECT_EQ(run({}, {"a.txt", "b.txt", "c"}), (Names{"0.txt", "1.txt", "2"}));
}

TEST(NumberRuleMainName, PadsWithZerosToTheDigits) {
    NumberOptions o;
    o.prefix = "IMG_";
    o.digits = "3";
    o.start = "8";
    EXPECT_EQ(run(o, {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}),
              (Names{"IMG_008.jpg", "IMG_009.jpg", "IMG_010.jpg", "IMG_011.jpg"}));

    o = {};
    o.prefix = "p";
    o.body = "b";
    o.suffix = "s";
    o.digits = "2";
    o.start = "5";
    EXPECT_EQ(run(o, {"x.txt"}), (Names{"pb05s.txt"}));
}

TEST(NumberRuleMainName, DigitsOnlySetAMinimumWidth) {
    NumberOptions o;
    o.digits = "2";
    o.start = "100";
    EXPECT_EQ(run(o, {"a", "b"}), (Names{"100", "101"}));
    o.digits = "";  // reads as 0
    EXPECT_EQ(run(o, {"a"}), (Names{"100"}));
    o.digits = "-4";
    EXPECT_EQ(run(o, {"a"}), (Names{"100"}));
}

TEST(NumberRuleMainName, MinusSignCountsTowardTheDigits) {
    NumberOptions o;
    o.digits = "3";
    o.start = "10";
    o.step = "-1";
    const Names out = run(o, Names(12, "f"));
    EXPECT_EQ(out.front(), "010");
    EXPECT_EQ(out[1], "009");
    EXPECT_EQ(out[10], "000");
    EXPECT_EQ(out[11], "0-1");
}

TEST(NumberRuleMainName, StartAndStepReadAsIntegers) {
    NumberOptions o;
    o.start = " 2.9";
    o.step = "1e1";
    EXPECT_EQ(run(o, {"a", "b", "c"}), (Names{"2", "12", "22"}));
    o.start = "";
    o.step = "";
    EXPECT_EQ(run(o, {"a", "b"}), (Names{"0", "0"}));
}

TEST(NumberRuleMainName, ValuesWrapAroundAtThirtyTwoBits) {
    NumberOptions o;
    o.start = "2147483646";
    EXPECT_EQ(run(o, {"a", "b", "c"}), (Names{"2147483646", "2147483647", "-2147483648"}));
    o.start = "-2147483648";
    o.step = "-2147483648";
    EXPECT_EQ(run(o, {"a", "b", "c"}), (Names{"-2147483648", "0", "-2147483648"}));
}

TEST(NumberRuleMainName, LeadingDotOfTheOldMainNameIsKept) {
    EXPECT_EQ(run({}, {".profile", "..x.txt"}), (Names{"0.profile", ".1.txt"}));
}

TEST(NumberRuleMainName, PaddingWidthIsBounded) {
    NumberOptions o;
    o.digits = "1e9";
    const Names out = run(o, {"a.txt"});
    EXPECT_EQ(out[0], std::string(998, '0') + "0.txt");
}

TEST(NumberRuleExtension, AllFieldsEmptyRemovesTheExtension) {
    NumberOptions o;
    o.scope = NameScope::extension;
    EXPECT_EQ(run(o, {"song.mp3", "README", "x."}), (Names{"song", "README", "x"}));
}

TEST(NumberRuleExtension, WithoutDigitsEveryItemGetsTheSameExtension) {
    NumberOptions o;
    o.scope = NameScope::extension;
    o.ext_body = "txt";
    EXPECT_EQ(run(o, {"song.mp3", "README"}), (Names{"song.txt", "README.txt"}));
    o.ext_body = "";
    o.ext_prefix = "p";
    o.ext_suffix = "s";
    EXPECT_EQ(run(o, {"a.b.c"}), (Names{"a.b.ps"}));
}

TEST(NumberRuleExtension, DigitsTextSwitchesNumberingOn) {
    NumberOptions o;
    o.scope = NameScope::extension;
    o.ext_body = "txt";
    o.ext_digits = "1";
    o.start = "1";
    // An item without extension gets no dot in front of its new one.
    EXPECT_EQ(run(o, {"song.mp3", "README"}), (Names{"song.txt1", "READMEtxt2"}));
    o.ext_body = "";
    o.ext_digits = "0";
    EXPECT_EQ(run(o, {"a.mp3"}), (Names{"a.1"}));
    o.ext_digits = "3";
    EXPECT_EQ(run(o, {"a.mp3"}), (Names{"a.001"}));
}

TEST(NumberRuleBoth, MainAndExtensionCarryTheSameNumber) {
    NumberOptions o;
    o.scope = NameScope::both;
    o.body = "f";
    o.ext_body = "e";
    o.ext_digits = "2";
    o.start = "5";
    o.step = "3";
    EXPECT_EQ(run(o, {"a.x", "b"}), (Names{"f5.e05", "f8e08"}));
    o.ext_digits = "";
    EXPECT_EQ(run(o, {"README"}), (Names{"f5.e"}));
    o.ext_body = "";
    EXPECT_EQ(run(o, {"a.x"}), (Names{"f5"}));
}

}  // namespace
}  // namespace varnel
