// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list's context menu 右键菜单: its items in order, enabled by
// context_menu_state whenever the list, its selection or the rule page change.

#include <QMenu>

#include "filelist/context_menu_state.h"

namespace varnel {

class ListContextMenu final : public QMenu {
    Q_OBJECT
public:
    // `shared_preview` and `shared_fix_names` are the window's own commands
    // 预览(&V) and 文件名转为UTF-8, shown here too; the menu's other items
    // are its own.
    ListContextMenu(QAction* shared_preview, QAction* shared_fix_names, QWidget* parent = nullptr);

    // Enables every item, the shared ones included.
    void set_state(const ContextMenuState& state);

    QAction* preview;             // 预览(&V)
    QAction* add_folder;          // 添加整个目录(&O)
    QAction* add_files;           // 加入文件(&F)
    QAction* filter;              // 过滤(&L)...
    QAction* remove_selected;     // 删除选择的项目(&D)
    QAction* clear;               // 清空列表(&E)
    QAction* tag_info;            // MP3标签信息(&I)...
    QAction* remove_without_tag;  // 删除无MP3标签项目(M)
    QAction* select_all;          // 全选 (Ctrl+A)
    QAction* fix_names;           // 文件名转为UTF-8
    QAction* fix_tags;            // 标签转为Unicode...
};

}  // namespace varnel
