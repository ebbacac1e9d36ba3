// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts the rename and undo commands show, in the code page (GB18030).
//
// The four status words of column 命名状态 are data: varnel-cli prints them
// as its records' status field, which scripts read, so they are the same
// in every language. Every other text is for people and follows the
// language the process speaks (see platform/language.h).

#include <string>
#include <string_view>

namespace varnel::texts {

// Status words (data): "更名成功", "更名失败", "撤消成功", "撤消失败".
[[nodiscard]] const std::string& rename_succeeded();
[[nodiscard]] const std::string& rename_failed();
[[nodiscard]] const std::string& undo_succeeded();
[[nodiscard]] const std::string& undo_failed();

// "文件更名完毕！" / "Files renamed."
[[nodiscard]] const std::string& rename_all_done();
// "上一次的操作已经成功撤消！" / "The last batch was undone."
[[nodiscard]] const std::string& undo_all_done();
// "是否真的撤消上一次操作？" and its title "询问：".
[[nodiscard]] const std::string& undo_question();
[[nodiscard]] const std::string& undo_question_title();
// "Kelto批量更名器": the title of the rename engine's message boxes.
[[nodiscard]] const std::string& message_title();
// Said instead of offering or doing the undo of a journal whose batch
// another running Varnel holds: "另一个Varnel正在执行这批更名".
[[nodiscard]] const std::string& another_batch_running();

// One square of the progress text, "■" (the same in every language).
[[nodiscard]] const std::string& progress_square();
inline constexpr int progress_squares = 20;

// `squares` progress squares (clamped to 0..20).
[[nodiscard]] std::string progress_text(int squares);

// Squares to show after item `done` of `count`: floor(20 * done / count).
[[nodiscard]] int progress_squares_after(int done, int count);

// "文件总数：" + count + " 个文件\r\n\r\n" + successes + " 个文件更名成功！\r\n"
// + failures + " 个文件更名失败！", failures = count - successes (in
// English "Files: N\r\n\r\nN renamed.\r\nN failed.").
[[nodiscard]] std::string rename_partial_summary(int count, int successes);
// The same with "撤消成功" / "撤消失败" ("undone").
[[nodiscard]] std::string undo_partial_summary(int count, int successes);

}  // namespace varnel::texts
