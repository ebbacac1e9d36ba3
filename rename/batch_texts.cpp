// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/batch_texts.h"

#include <algorithm>
#include <cstdint>

#include "platform/language.h"

namespace varnel::texts {

const std::string& rename_succeeded() {
    return code_page("更名成功");
}

const std::string& rename_failed() {
    return code_page("更名失败");
}

const std::string& undo_succeeded() {
    return code_page("撤消成功");
}

const std::string& undo_failed() {
    return code_page("撤消失败");
}

const std::string& rename_all_done() {
    return say("文件更名完毕！", "Files renamed.");
}

const std::string& undo_all_done() {
    return say("上一次的操作已经成功撤消！", "The last batch was undone.");
}

const std::string& undo_question() {
    return say("是否真的撤消上一次操作？", "Undo the last batch?");
}

const std::string& undo_question_title() {
    return say("询问：", "Question");
}

const std::string& message_title() {
    return say("Kelto批量更名器", "Kelto Batch Renamer");
}

const std::string& another_batch_running() {
    return say("另一个Varnel正在执行这批更名", "another Varnel is running this batch");
}

const std::string& progress_square() {
    return code_page("■");
}

namespace {

std::string partial_summary(int count, int successes, bool undo) {
    const std::string& succeeded = undo ? say(" 个文件撤消成功！\r\n", " undone.\r\n")
                                        : say(" 个文件更名成功！\r\n", " renamed.\r\n");
    const std::string& failed = undo ? say(" 个文件撤消失败！", " could not be undone.")
                                     : say(" 个文件更名失败！", " failed.");
    std::string text = say("文件总数：", "Files: ");
    text += std::to_string(count);
    text += say(" 个文件\r\n\r\n", "\r\n\r\n");
    text += std::to_string(successes);
    text += succeeded;
    text += std::to_string(count - successes);
    text += failed;
    return text;
}

}  // namespace

std::string progress_text(int squares) {
    squares = std::clamp(squares, 0, progress_squares);
    const std::string& square = progress_square();
    std::string text;
    text.reserve(square.size() * static_cast<std::size_t>(squares));
    for (int i = 0; i < squares; ++i) text += square;
    return text;
}

int progress_squares_after(int done, int count) {
    if (count <= 0) return 0;
    return static_cast<int>(std::int64_t{progress_squares} * done / count);
}

std::string rename_partial_summary(int count, int successes) {
    return partial_summary(count, successes, false);
}

std::string undo_partial_summary(int count, int successes) {
    return partial_summary(count, successes, true);
}

}  // namespace varnel::texts
