// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which items of the list's context menu 右键菜单 are enabled.

namespace varnel {

struct ContextMenuState {
    bool preview = false;             // 预览(&V): the list has rows
    bool add_folder = true;           // 添加整个目录(&O): always
    bool add_files = true;            // 加入文件(&F): always
    bool filter = false;              // 过滤(&L)...: the list has rows
    bool remove_selected = false;     // 删除选择的项目(&D): a row is selected
    bool clear = false;               // 清空列表(&E): the list has rows
    bool tag_info = false;            // MP3标签信息(&I)...: a row is selected
    bool remove_without_tag = false;  // 删除无MP3标签项目(M): rows, and the tag page is shown
    bool select_all = false;          // 全选: the list has rows
    bool fix_names = false;           // 文件名转为UTF-8: a row is selected
    bool fix_tags = false;            // 标签转为Unicode: a selected row is an MP3 item
};

[[nodiscard]] ContextMenuState context_menu_state(int rows, int selected_rows, bool tag_page_shown,
                                                  bool mp3_selected = false);

}  // namespace varnel
