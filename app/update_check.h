// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the update page: which version it announces and what to tell the
// user. The page and every text here are code-page bytes.
//
// The page's update block lies between "////开始" and "////结束"; its
// entries are "最新版=" (the version), "下载方式=" (the value "打开网页"
// means: open the home page) and "更新说明=" (notes), each ending in "</p>".

#include <string>
#include <string_view>

namespace varnel {

// The bytes after the first `open` in `text` and before the first `close`
// after it; empty when either is missing.
[[nodiscard]] std::string extract(std::string_view text, std::string_view open,
                                  std::string_view close);

// The leading decimal number of a text, as a floating-point parse reads it
// ("1.10" is 1.1, "2.0.1" is 2.0); 0 when there is none.
[[nodiscard]] double leading_number(std::string_view text);

struct UpdateVerdict {
    enum class Kind { newer, same, nothing } kind = Kind::nothing;
    std::string prompt;  // newer: "当前版本：1.3\r\n最新版本：…\r\n更新内容：…"
    bool open_home = false;  // newer: the method is exactly "打开网页"
};

// What the page says against `current_version`: newer when the announced
// number exceeds it by more than 0.0000001, the same within that, nothing
// otherwise (an older version, or an empty or broken page).
[[nodiscard]] UpdateVerdict judge_update_page(std::string_view page,
                                              std::string_view current_version);

}  // namespace varnel
