// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/ui/list_context_menu.h"

namespace varnel {

ListContextMenu::ListContextMenu(QAction* shared_preview, QAction* shared_fix_names,
                                 QWidget* parent)
    : QMenu(parent), preview(shared_preview), fix_names(shared_fix_names) {
    setObjectName(QStringLiteral("右键菜单"));
    addAction(preview);
    addSeparator();
    add_folder = addAction(tr("添加整个目录(&O)"));
    add_files = addAction(tr("加入文件(&F)"));
    addSeparator();
    filter = addAction(tr("过滤(&L)..."));
    addSeparator();
    remove_selected = addAction(tr("删除选择的项目(&D)"));
    clear = addAction(tr("清空列表(&E)"));
    addSeparator();
    tag_info = addAction(tr("MP3标签信息(&I)..."));
    remove_without_tag = addAction(tr("删除无MP3标签项目(M)"));
    addSeparator();
    addAction(fix_names);
    fix_tags = addAction(tr("标签转为Unicode..."));
    addSeparator();
    select_all = addAction(tr("全选"));
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
