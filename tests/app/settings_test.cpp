// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/codec.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

// config.ini texts, in the code page.
const std::string preview = "\xD4\xA4\xC0\xC0\xD1\xA1\xCF\xEE";    // 预览选项
const std::string colour = "\xD1\xD5\xC9\xAB";                     // 颜色
const std::string font = "\xD7\xD6\xCC\xE5";                       // 字体
const std::string auto_key = "\xD7\xD4\xB6\xAF\xD4\xA4\xC0\xC0";   // 自动预览
const std::string all_key = "\xC8\xAB\xB2\xBF\xD4\xA4\xC0\xC0";    // 全部预览
const std::string count_key = "\xD4\xA4\xC0\xC0\xCA\xFD\xC1\xBF";  // 预览数量
const std::string back_key = "\xB1\xB3\xBE\xB0\xD1\xD5\xC9\xAB";   // 背景颜色
const std::string fore_key = "\xD7\xD6\xCC\xE5\xD1\xD5\xC9\xAB";   // 字体颜色
const std::string name_key = "\xD7\xD6\xCC\xE5\xC3\xFB\xB3\xC6";   // 字体名称
const std::string size_key = "\xD7\xD6\xCC\xE5\xB4\xF3\xD0\xA1";   // 字体大小
const std::string style_key = "\xD7\xD6\xCC\xE5\xD1\xF9\xCA\xBD";  // 字体样式
const std::string on = "\xBF\xAA";                                 // 开
const std::string off = "\xB9\xD8";                                // 关
const std::string song = "\xCB\xCE\xCC\xE5";                       // 宋体
const std::string regular = "\xB3\xA3\xB9\xE6";                    // 常规
const std::string bold = "\xB4\xD6\xCC\xE5";                       // 粗体
const std::string italic = "\xD0\xB1\xCC\xE5";                     // 斜体
const std::string bold_italic = "\xB4\xD6\xD0\xB1\xCC\xE5";        // 粗斜体
const std::string tags = "MP3\xB1\xEA\xC7\xA9";                    // MP3标签
// ID3v2文字编码
const std::string encoding_key = "ID3v2\xCE\xC4\xD7\xD6\xB1\xE0\xC2\xEB";

std::string gb(const char8_t* utf8) {
    static const Codec codec;
    return codec.from_utf8(reinterpret_cast<const char*>(utf8)).value();
}
const std::string naming = gb(u8"命名选项");
const std::string order_key = gb(u8"冲突处理");
const std::string slash_key = gb(u8"斜杠替换为");

std::string section(const std::string& name) {
    return "[" + name + "]\n";
}

std::string line(const std::string& key, const std::string& value) {
    return key + "=" + value + "\n";
}

class SettingsFile : public testing::Test {
protected:
    Settings load() const { return load_settings(path_); }
    void write(const std::string& content) const { temp_.write_file("config.ini", content); }
    std::string contents() const { return temp_.read_file("config.ini"); }

    // A file holding only `key` = `value` in `section_name`.
    Settings load_one(const std::string& section_name, const std::string& key,
                      const std::string& value) const {
        write(section(section_name) + line(key, value));
        return load();
    }

    test::TempDir temp_;
    std::string path_ = temp_.path() + "config.ini";
};

TEST(ConfigPath, PutsOneSlashBetweenFolderAndName) {
    EXPECT_EQ(config_path("/opt/varnel/"), "/opt/varnel/config.ini");
    EXPECT_EQ(config_path("/opt/varnel"), "/opt/varnel/config.ini");
}

TEST_F(SettingsFile, MissingFileGivesDefaultsAndIsNotCreated) {
    const Settings settings = load();
    EXPECT_FALSE(settings.auto_preview);
    EXPECT_FALSE(settings.preview_all);
    EXPECT_EQ(settings.preview_count, 10);
    EXPECT_EQ(settings.font_colour, 0x800000u);
    EXPECT_EQ(settings.background_colour, 0x80A080u);
    EXPECT_EQ(settings.font_name, song);
    EXPECT_EQ(settings.font_size, 10);
    EXPECT_FALSE(settings.bold);
    EXPECT_FALSE(settings.italic);
    EXPECT_FALSE(temp_.exists("config.ini"));
}

TEST_F(SettingsFile, MissingKeysGiveTheirDefaults) {
    write(section(preview) + line(count_key, "25") + section(font) + line(size_key, "14"));
    Settings expected;
    expected.preview_count = 25;
    expected.font_size = 14;
    EXPECT_EQ(load(), expected);

    write("");
    EXPECT_EQ(load(), Settings{});
}

TEST_F(SettingsFile, ReadsEveryKey) {
    write(section(preview) + line(auto_key, on) + line(all_key, on) + line(count_key, "200") +
          section(colour) + line(back_key, "255") + line(fore_key, "65280") + section(font) +
          line(name_key, "Noto Sans " + song) + line(size_key, "12") + line(style_key, bold));
    const Settings settings = load();
    EXPECT_TRUE(settings.auto_preview);
    EXPECT_TRUE(settings.preview_all);
    EXPECT_EQ(settings.preview_count, 200);
    EXPECT_EQ(settings.background_colour, 0x0000FFu);
    EXPECT_EQ(settings.font_colour, 0x00FF00u);
    EXPECT_EQ(settings.font_name, "Noto Sans " + song);
    EXPECT_EQ(settings.font_size, 12);
    EXPECT_TRUE(settings.bold);
    EXPECT_FALSE(settings.italic);
}

TEST_F(SettingsFile, OnlyTheWordForOnSwitchesOn) {
    for (const std::string& value :
         {std::string("1"), std::string("on"), off, on + on, std::string()}) {
        SCOPED_TRACE(value);
        EXPECT_FALSE(load_one(preview, auto_key, value).auto_preview);
        EXPECT_FALSE(load_one(preview, all_key, value).preview_all);
    }
    EXPECT_TRUE(load_one(preview, auto_key, on).auto_preview);
    EXPECT_TRUE(load_one(preview, all_key, on).preview_all);
}

TEST_F(SettingsFile, StyleWordsSetTheFlags) {
    struct Case {
        std::string word;
        bool bold;
        bool italic;
    };
    const std::vector<Case> cases = {{regular, false, false}, {bold, true, false},
                                     {italic, false, true},   {bold_italic, true, true},
                                     {"Bold", false, false},  {italic + bold, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        const Settings settings = load_one(font, style_key, c.word);
        EXPECT_EQ(settings.bold, c.bold);
        EXPECT_EQ(settings.italic, c.italic);
    }
}

TEST_F(SettingsFile, NumbersAreTheLeadingDecimalNumberTruncated) {
    struct Case {
        std::string text;
        std::int32_t value;
    };
    const std::vector<Case> cases = {{"abc", 0},
                                     {"", 0},
                                     {"-", 0},
                                     {"x12", 0},
                                     {"12abc", 12},
                                     {"  7", 7},
                                     {"+8", 8},
                                     {"3.99", 3},
                                     {"-3.99", -3},
                                     {"-0.5", 0},
                                     {".9", 0},
                                     {"5.", 5},
                                     {"1e3", 1000},
                                     {"2.5e1", 25},
                                     {"1.e2", 100},
                                     {"25e-1", 2},
                                     {"7e", 7},
                                     {"7e+", 7},
                                     {"1e-99999", 0},
                                     {"0x10", 0},
                                     {"inf", 0},
                                     {"1,5", 1},
                                     {"0000000000000000000000042", 42},
                                     {"2147483647", 2147483647},
                                     {"2147483648", 2147483647},
                                     {"1e99999", 2147483647},
                                     {"-2147483648", -2147483647 - 1},
                                     {"-99999999999999999999", -2147483647 - 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(load_one(preview, count_key, c.text).preview_count, c.value);
        EXPECT_EQ(load_one(font, size_key, c.text).font_size, c.value);
    }
}

// Colours accept both the signed and the unsigned spelling of 32 bits.
TEST_F(SettingsFile, ColoursAreNumbersTakenAs32Bits) {
    struct Case {
        std::string text;
        std::uint32_t value;
    };
    const std::vector<Case> cases = {{"grey", 0},
                                     {"8429696.7", 0x80A080},
                                     {"4294967295", 0xFFFFFFFF},
                                     {"-1", 0xFFFFFFFF},
                                     {"3000000000", 3000000000u},
                                     {"99999999999", 0xFFFFFFFF},
                                     {"-99999999999", 0x80000000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(load_one(colour, back_key, c.text).background_colour, c.value);
        EXPECT_EQ(load_one(colour, fore_key, c.text).font_colour, c.value);
    }
}

TEST_F(SettingsFile, FirstSaveWritesFiveSectionsAndElevenKeysInOrder) {
    ASSERT_TRUE(save_settings(path_, load()));
    EXPECT_EQ(contents(), section(preview) + line(auto_key, off) + line(all_key, off) +
                              line(count_key, "10") + section(colour) + line(back_key, "8429696") +
                              line(fore_key, "8388608") + section(font) + line(name_key, song) +
                              line(size_key, "10") + line(style_key, regular) + section(tags) +
                              line(encoding_key, "GBK") + line(slash_key, gb(u8"／")) +
                              section(naming) + line(order_key, gb(u8"按顺序")));
}

TEST_F(SettingsFile, SaveWritesEachStyleWord) {
    const std::vector<std::pair<std::pair<bool, bool>, std::string>> cases = {
        {{false, false}, regular},
        {{true, false}, bold},
        {{false, true}, italic},
        {{true, true}, bold_italic}};
    for (const auto& [flags, word] : cases) {
        SCOPED_TRACE(word);
        Settings settings;
        settings.bold = flags.first;
        settings.italic = flags.second;
        ASSERT_TRUE(save_settings(path_, settings));
        EXPECT_NE(contents().find(line(style_key, word)), std::string::npos);
        EXPECT_EQ(load(), settings);
    }
}

TEST_F(SettingsFile, SaveThenLoadGivesTheRecordBack) {
    Settings settings;
    settings.auto_preview = true;
    settings.preview_all = true;
    settings.preview_count = -5;
    settings.font_colour = 0xFFFFFFFF;
    settings.background_colour = 0;
    settings.font_name = "DejaVu Sans";
    settings.font_size = 0;
    settings.italic = true;
    ASSERT_TRUE(save_settings(path_, settings));
    EXPECT_EQ(load(), settings);
}

TEST_F(SettingsFile, SaveKeepsUnrelatedLinesAndReplacesItsKeys) {
    write("; remark\n" + section("other") + line("keep", "me") + section(preview) +
          line(count_key, "3") + line("extra", "1") + section(font) + line(name_key, "Old"));
    Settings settings;
    settings.preview_count = 42;
    ASSERT_TRUE(save_settings(path_, settings));
    EXPECT_EQ(contents(),
              "; remark\n" + section("other") + line("keep", "me") + section(preview) +
                  line(count_key, "42") + line("extra", "1") + line(auto_key, off) +
                  line(all_key, off) + section(font) + line(name_key, song) + line(size_key, "10") +
                  line(style_key, regular) + section(colour) + line(back_key, "8429696") +
                  line(fore_key, "8388608") + section(tags) + line(encoding_key, "GBK") +
                  line(slash_key, gb(u8"／")) + section(naming) + line(order_key, gb(u8"按顺序")));
}

TEST_F(SettingsFile, TagTextEncodingIsGbkUnlessUnicode) {
    for (const auto& [text, unicode] : std::vector<std::pair<std::string, bool>>{
             {"GBK", false}, {"Unicode", true}, {"unicode", false}, {"", false}}) {
        EXPECT_EQ(load_one(tags, encoding_key, text).v2_unicode, unicode) << text;
    }
    Settings settings;
    settings.v2_unicode = true;
    ASSERT_TRUE(save_settings(path_, settings));
    EXPECT_NE(contents().find(line(encoding_key, "Unicode")), std::string::npos);
    EXPECT_EQ(load(), settings);
}

TEST_F(SettingsFile, RenameOrderIsInOrderUnlessSmart) {
    for (const auto& [text, smart] : std::vector<std::pair<std::string, bool>>{
             {gb(u8"按顺序"), false}, {gb(u8"智能顺序"), true}, {"smart", false}, {"", false}}) {
        EXPECT_EQ(load_one(naming, order_key, text).smart_order, smart) << text;
    }
    Settings settings;
    settings.smart_order = true;
    ASSERT_TRUE(save_settings(path_, settings));
    EXPECT_EQ(load(), settings);
}

// A stand-in that is itself a separator would make the names it should
// save impossible: the '/' go, the rest stays.
TEST_F(SettingsFile, SlashStandInNeverHoldsASeparator) {
    for (const auto& [text, read] : std::vector<std::pair<std::string, std::string>>{
             {gb(u8"／"), gb(u8"／")}, {"_", "_"}, {"", ""}, {"/", ""}, {"a/b", "ab"}}) {
        EXPECT_EQ(load_one(tags, slash_key, text).slash_stand_in, read) << text;
    }
    Settings settings;
    settings.slash_stand_in = gb(u8"〃");
    ASSERT_TRUE(save_settings(path_, settings));
    EXPECT_EQ(load(), settings);
}

TEST_F(SettingsFile, OtherAudioFormatsAreOffUnlessOnAndWrittenOnceTurnedOn) {
    const std::string key = gb(u8"其他音频格式");
    for (const auto& [text, turned_on] : std::vector<std::pair<std::string, bool>>{
             {gb(u8"开"), true}, {gb(u8"关"), false}, {"1", false}, {"", false}}) {
        EXPECT_EQ(load_one(tags, key, text).other_audio_formats, turned_on) << text;
    }
    write("");
    ASSERT_TRUE(save_settings(path_, Settings{}));
    EXPECT_EQ(contents().find(key), std::string::npos);
    Settings settings;
    settings.other_audio_formats = true;
    ASSERT_TRUE(save_settings(path_, settings));
    EXPECT_NE(contents().find(line(key, gb(u8"开"))), std::string::npos);
    EXPECT_EQ(load(), settings);
    settings.other_audio_formats = false;
    ASSERT_TRUE(save_settings(path_, settings));
    EXPECT_NE(contents().find(line(key, gb(u8"关"))), std::string::npos);
    EXPECT_EQ(load(), settings);
}

TEST_F(SettingsFile, LanguageIsAutomaticUnlessChosenAndWrittenOnlyOnceChosen) {
    const std::string screen = gb(u8"界面");
    const std::string language_key = gb(u8"界面语言");
    for (const auto& [text, choice] : std::vector<std::pair<std::string, LanguageChoice>>{
             {gb(u8"中文"), LanguageChoice::chinese},
             {"English", LanguageChoice::english},
             {gb(u8"自动"), LanguageChoice::automatic},
             {"english", LanguageChoice::automatic},
             {"", LanguageChoice::automatic}}) {
        EXPECT_EQ(load_one(screen, language_key, text).language, choice) << text;
    }
    std::filesystem::remove(path_);
    ASSERT_TRUE(save_settings(path_, Settings{}));
    EXPECT_EQ(contents().find(language_key), std::string::npos);
    Settings settings;
    settings.language = LanguageChoice::english;
    ASSERT_TRUE(save_settings(path_, settings));
    EXPECT_EQ(load(), settings);
    settings.language = LanguageChoice::automatic;
    ASSERT_TRUE(save_settings(path_, settings));
    EXPECT_NE(contents().find(line(language_key, gb(u8"自动"))), std::string::npos);
    EXPECT_EQ(load(), settings);
}

TEST_F(SettingsFile, SaveIntoAMissingFolderFails) {
    EXPECT_FALSE(save_settings(temp_.path() + "absent/config.ini", Settings{}));
    EXPECT_FALSE(temp_.exists("absent"));
}

}  // namespace
}  // namespace varnel
