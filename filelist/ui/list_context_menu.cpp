// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/ui/list_context_menu.h"

namespace varnel {

ListContextMenu::ListContextMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("右键菜单"));
    preview = addAction(QStringLiteral("预览(&V)"));
    addSeparator();
    add_folder = addAction(QStringLiteral("添加整个目录(&O)"));
    add_files = addAction(QStringLiteral("加入文件(&F)"));
    addSeparator();
    filter = addAction(QStringLiteral("过滤(&L)..."));
    addSeparator();
    remove_selected = addAction(QStringLiteral("删除选择的项目(&D)"));
    clear = addAction(QStringLiteral("清空列表(&E)"));
    addSeparator();
    tag_info = addAction(QStringLiteral("MP3标签信息(&I)..."));
    remove_without_tag = addAction(QStringLiteral("删除无MP3标签项目(M)"));
    addSeparator();
    fix_names = addAction(QStringLiteral("文件名转为UTF-8"));
    fix_tags = addAction(QStringLiteral("标签转为Unicode..."));
    addSeparator();
    select_all = addAction(QStringLiteral("全选"));
    select_all->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    select_all->setShortcutContext(Qt::WidgetShortcut);  // the list handles Ctrl+A itself
}

void ListContextMenu::set_state(const ContextMenuState& state) {
    preview->setEnabled(state.preview);
    add_folder->setEnabled(state.add_folder);
    add_files->setEnabled(state.add_files);
    filter->setEnabled(state.filter);
    remove_selected->setEnabled(state.remove_selected);
    clear->setEnabled(state.clear);
    tag_info->setEnabled(state.tag_info);
    remove_without_tag->setEnabled(state.remove_without_tag);
    select_all->setEnabled(state.select_all);
    fix_names->setEnabled(state.fix_names);
    fix_tags->setEnabled(state.fix_tags);
}

}  // namespace varnel
