// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/batch_texts.h"

#include <algorithm>
#include <cstdint>

namespace varnel::texts {

namespace {

constexpr std::string_view summary_total =
    "\xCE\xC4\xBC\xFE\xD7\xDC\xCA\xFD\xA3\xBA";  // "文件总数："
constexpr std::string_view summary_files =
    " \xB8\xF6\xCE\xC4\xBC\xFE\r\n\r\n";  // " 个文件\r\n\r\n"
// " 个文件更名成功！\r\n"
constexpr std::string_view summary_renamed =
    " \xB8\xF6\xCE\xC4\xBC\xFE\xB8\xFC\xC3\xFB\xB3\xC9\xB9\xA6\xA3\xA1\r\n";
// " 个文件更名失败！"
constexpr std::string_view summary_rename_failed =
    " \xB8\xF6\xCE\xC4\xBC\xFE\xB8\xFC\xC3\xFB\xCA\xA7\xB0\xDC\xA3\xA1";
// " 个文件撤消成功！\r\n"
constexpr std::string_view summary_undone =
    " \xB8\xF6\xCE\xC4\xBC\xFE\xB3\xB7\xCF\xFB\xB3\xC9\xB9\xA6\xA3\xA1\r\n";
// " 个文件撤消失败！"
constexpr std::string_view summary_undo_failed =
    " \xB8\xF6\xCE\xC4\xBC\xFE\xB3\xB7\xCF\xFB\xCA\xA7\xB0\xDC\xA3\xA1";

std::string partial_summary(int count, int successes, std::string_view succeeded,
                            std::string_view failed) {
    std::string text(summary_total);
    text += std::to_string(count);
    text += summary_files;
    text += std::to_string(successes);
    text += succeeded;
    text += std::to_string(count - successes);
    text += failed;
    return text;
}

}  // namespace

std::string progress_text(int squares) {
    squares = std::clamp(squares, 0, progress_squares);
    std::string text;
    text.reserve(progress_square.size() * static_cast<std::size_t>(squares));
    for (int i = 0; i < squares; ++i) text += progress_square;
    return text;
}

int progress_squares_after(int done, int count) {
    if (count <= 0) return 0;
    return static_cast<int>(std::int64_t{progress_squares} * done / count);
}

std::string rename_partial_summary(int count, int successes) {
    return partial_summary(count, successes, summary_renamed, summary_rename_failed);
}

std::string undo_partial_summary(int count, int successes) {
    return partial_summary(count, successes, summary_undone, summary_undo_failed);
}

}  // namespace varnel::texts
