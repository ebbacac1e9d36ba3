// SPDX-License-Identifier: GPL-3.0-or-later
// Every text the rename engine and the tag fix give out, in both languages:
// well-formed code-page bytes, the Chinese spelling the window and the
// command line have always shown, an English twin with no Chinese left in
// it, and data words (status fields scripts read) alike in both.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "id3/tag_fix_texts.h"
#include "platform/codec.h"
#include "platform/language.h"
#include "platform/status_words.h"
#include "rename/batch_rows.h"
#include "rename/batch_texts.h"
#include "rename/name_check.h"
#include "rename/name_conflicts.h"
#include "rename/regex_rule.h"
#include "rename/tag_rule.h"
#include "rename/tag_template.h"

namespace varnel {
namespace {

enum class Kind { for_people, data };

struct TextCase {
    const char* what;
    std::function<std::string()> text;
    const char* chinese;  // UTF-8
    Kind kind = Kind::for_people;
};

std::function<std::string()> of(const std::string& (*text)()) {
    return [text] { return text(); };
}

const TextCase text_cases[] = {
    {"rename_succeeded", of(texts::rename_succeeded), "更名成功", Kind::data},
    {"rename_failed", of(texts::rename_failed), "更名失败", Kind::data},
    {"undo_succeeded", of(texts::undo_succeeded), "撤消成功", Kind::data},
    {"undo_failed", of(texts::undo_failed), "撤消失败", Kind::data},
    {"rename_all_done", of(texts::rename_all_done), "文件更名完毕！"},
    {"undo_all_done", of(texts::undo_all_done), "上一次的操作已经成功撤消！"},
    {"undo_question", of(texts::undo_question), "是否真的撤消上一次操作？"},
    {"undo_question_title", of(texts::undo_question_title), "询问："},
    {"message_title", of(texts::message_title), "Kelto批量更名器"},
    {"another_batch_running", of(texts::another_batch_running), "另一个Varnel正在执行这批更名"},
    {"progress_text", [] { return texts::progress_text(2); }, "■■", Kind::data},
    {"rename_partial_summary", [] { return texts::rename_partial_summary(5, 3); },
     "文件总数：5 个文件\r\n\r\n3 个文件更名成功！\r\n2 个文件更名失败！"},
    {"undo_partial_summary", [] { return texts::undo_partial_summary(4, 4); },
     "文件总数：4 个文件\r\n\r\n4 个文件撤消成功！\r\n0 个文件撤消失败！"},
    {"cancelled_summary", [] { return batch::cancelled_summary(texts::rename_all_done()); },
     "已取消：文件更名完毕！"},
    {"stays_named", of(batch::stays_named_text), "；文件仍名为"},
    {"no_renamed_file", [] { return batch::reason_of(batch::no_renamed_file_error, Codec()); },
     "更名后的名称上已没有文件"},
    {"not_the_file",
     [] { return batch::reason_of(batch::mismatch_error(FileMismatch::content), Codec()); },
     "更名后名称上的是另一个文件：内容不同"},
    {"name_empty", [] { return name_problem_text(NameProblem::empty); }, "新名称为空"},
    {"name_dots", [] { return name_problem_text(NameProblem::dots); }, "名称不能是.或.."},
    {"name_separator", [] { return name_problem_text(NameProblem::separator); }, "名称含有/"},
    {"name_too_long", [] { return name_fault_text(NameFault::too_long); }, "名称过长"},
    {"over_budget", [] { return name_fault_text(NameFault::over_budget); }, "正则表达式超出限制"},
    {"conflict_same_name", of(conflict_same_name), "名称冲突"},
    {"conflict_target_exists", of(conflict_target_exists), "目标已存在"},
    {"tag_status_no_tag", of(tag_status_no_tag), "无标签", Kind::data},
    {"tag_status_not_mp3", of(tag_status_not_mp3), "非MP3文件", Kind::data},
    {"reference_words", [] { return tag_template_reference("#1-#2-#3-#4-#5-#6"); },
     "艺术家-歌曲名-专辑-音轨-年代-流派"},
    {"will_convert", of(texts::will_convert), "将转换", Kind::data},
    {"converted", of(texts::converted), "已转换", Kind::data},
    {"will_add_v2", of(texts::will_add_v2), "将添加ID3v2标签", Kind::data},
    {"added_v2", of(texts::added_v2), "已添加ID3v2标签", Kind::data},
    {"nothing_to_convert", of(texts::nothing_to_convert), "无需转换", Kind::data},
    {"fix_failed", of(texts::fix_failed), "转换失败", Kind::data},
    {"not_mp3", of(texts::not_mp3), "不是MP3文件"},
    {"frames_kept_back", of(texts::frames_kept_back), "含无法保留的帧:"},
    {"encoding_change", of(texts::encoding_change), "编码0 (GBK) → 编码1 (UTF-16)"},
    {"v1_to_v2", of(texts::v1_to_v2), "ID3v1 → ID3v2 (UTF-16)", Kind::data},
    {"files_word", of(texts::files_word), "个文件"},
    {"failed_word", of(texts::failed_word), "失败"},
    {"separator", of(texts::separator), "，"},
    {"fix_title", of(texts::fix_title), "标签转为Unicode"},
};

// Whether well-formed UTF-8 `text` holds a CJK ideograph (U+4E00..U+9FFF)
// or full-width punctuation (U+3000..U+303F, U+FF00..U+FFEF): all three
// ranges are three-byte sequences.
bool has_chinese(const std::string& text) {
    for (std::size_t at = 0; at + 2 < text.size(); ++at) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if ((lead & 0xF0) != 0xE0) continue;
        const char32_t c = (lead & 0x0Fu) << 12 |
                           (static_cast<unsigned char>(text[at + 1]) & 0x3Fu) << 6 |
                           (static_cast<unsigned char>(text[at + 2]) & 0x3Fu);
        if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3000 && c <= 0x303F) ||
            (c >= 0xFF00 && c <= 0xFFEF))
            return true;
    }
    return false;
}

class EngineText : public testing::TestWithParam<TextCase> {
protected:
    void TearDown() override { set_text_language(Language::chinese); }
    const Codec codec;
};

TEST_P(EngineText, ReadsInBothLanguages) {
    const TextCase& c = GetParam();
    set_text_language(Language::chinese);
    const std::string chinese = c.text();
    EXPECT_EQ(codec.to_utf8(chinese), std::optional<std::string>(c.chinese));

    set_text_language(Language::english);
    const std::string english = c.text();
    const std::optional<std::string> english_utf8 = codec.to_utf8(english);
    ASSERT_TRUE(english_utf8.has_value());
    if (c.kind == Kind::data) {
        EXPECT_EQ(english, chinese);
        // The window shows every data word in English, with what follows it.
        const std::string shown = status_for_people(english + " x");
        EXPECT_FALSE(has_chinese(*codec.to_utf8(shown))) << c.what;
        EXPECT_TRUE(shown.ends_with(" x")) << c.what;
    } else {
        EXPECT_FALSE(english_utf8->empty());
        EXPECT_FALSE(has_chinese(*english_utf8)) << *english_utf8;
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, EngineText, testing::ValuesIn(text_cases),
                         [](const auto& param_info) { return std::string(param_info.param.what); });

TEST(EngineText, StatusWordsAreGb18030Bytes) {
    // The bytes varnel-cli's records have always carried.
    EXPECT_EQ(texts::rename_succeeded(), "\xB8\xFC\xC3\xFB\xB3\xC9\xB9\xA6");
    EXPECT_EQ(tag_status_not_mp3(), "\xB7\xC7MP3\xCE\xC4\xBC\xFE");
}

}  // namespace
}  // namespace varnel
