// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts the rename and undo commands show, in the code page (GB18030
// bytes; the comment beside each gives the characters).

#include <string>
#include <string_view>

namespace varnel::texts {

inline constexpr std::string_view rename_succeeded =
    "\xB8\xFC\xC3\xFB\xB3\xC9\xB9\xA6";  // "更名成功"
inline constexpr std::string_view rename_failed = "\xB8\xFC\xC3\xFB\xCA\xA7\xB0\xDC";  // "更名失败"
inline constexpr std::string_view undo_succeeded =
    "\xB3\xB7\xCF\xFB\xB3\xC9\xB9\xA6";  // "撤消成功"
inline constexpr std::string_view undo_failed = "\xB3\xB7\xCF\xFB\xCA\xA7\xB0\xDC";  // "撤消失败"
// "文件更名完毕！"
inline constexpr std::string_view rename_all_done =
    "\xCE\xC4\xBC\xFE\xB8\xFC\xC3\xFB\xCD\xEA\xB1\xCF\xA3\xA1";
// "上一次的操作已经成功撤消！"
inline constexpr std::string_view undo_all_done =
    "\xC9\xCF\xD2\xBB\xB4\xCE\xB5\xC4\xB2\xD9\xD7\xF7\xD2\xD1\xBE\xAD\xB3\xC9\xB9\xA6\xB3\xB7\xCF"
    "\xFB\xA3\xA1";
// "是否真的撤消上一次操作？"
inline constexpr std::string_view undo_question =
    "\xCA\xC7\xB7\xF1\xD5\xE6\xB5\xC4\xB3\xB7\xCF\xFB\xC9\xCF\xD2\xBB\xB4\xCE\xB2\xD9\xD7\xF7\xA3"
    "\xBF";
inline constexpr std::string_view undo_question_title = "\xD1\xAF\xCE\xCA\xA3\xBA";  // "询问："
// "Kelto批量更名器": the title of the rename engine's message boxes.
inline constexpr std::string_view message_title = "Kelto\xC5\xFA\xC1\xBF\xB8\xFC\xC3\xFB\xC6\xF7";
inline constexpr std::string_view progress_square = "\xA1\xF6";  // "■"

// Said instead of offering or doing the undo of a journal whose batch
// another running Varnel holds (UTF-8; convert for the code page).
inline constexpr std::string_view another_batch_running_utf8 = "另一个Varnel正在执行这批更名";

inline constexpr int progress_squares = 20;

// `squares` progress squares (clamped to 0..20).
std::string progress_text(int squares);

// Squares to show after item `done` of `count`: floor(20 * done / count).
int progress_squares_after(int done, int count);

// "文件总数：" + count + " 个文件\r\n\r\n" + successes + " 个文件更名成功！\r\n"
// + failures + " 个文件更名失败！", failures = count - successes.
std::string rename_partial_summary(int count, int successes);
// The same with "撤消成功" / "撤消失败".
std::string undo_partial_summary(int count, int successes);

}  // namespace varnel::texts
