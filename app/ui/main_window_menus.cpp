// SPDX-License-Identifier: GPL-3.0-or-later
// Building the menu bar, the toolbar and the status bar.

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "app/ui/main_window.h"
#include "app/ui/toolbar_icons.h"

namespace varnel {

// One action per command, shared by the menus, the toolbar and the keys.
// 撤消, 预览 and 开始命名 work whichever widget of the window has the focus,
// a rule field included (see eventFilter): the field's own text undo stays
// in its context menu.
void MainWindow::build_menus() {
    // The toolbar shows icons only: the tip names the command, and its key
    // where the key is the toolbar button's own.
    const auto command = [this](const QString& text, const QString& tip, const QKeySequence& keys,
                                void (MainWindow::*slot)()) {
        auto* action = new QAction(text, this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    const auto with_keys = [](const QString& tip, const QKeySequence& keys) {
        return tip + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) +
               QLatin1Char(')');
    };
    const QKeySequence undo_keys(Qt::CTRL | Qt::Key_Z);
    const QKeySequence preview_keys(Qt::Key_F5);
    const QKeySequence rename_keys(Qt::CTRL | Qt::Key_R);
    add_folder_action_ =
        command(tr("选择目录(&D)..."), tr("选择目录"), QKeySequence(Qt::CTRL | Qt::Key_D),
                &MainWindow::add_folder_requested);
    add_files_action_ =
        command(tr("添加文件(&N)..."), tr("加入多个文件"), QKeySequence(Qt::CTRL | Qt::Key_F),
                &MainWindow::add_files_requested);
    undo_action_ = command(tr("撤消(&U)"), with_keys(tr("撤消"), undo_keys), undo_keys,
                           &MainWindow::undo_requested);
    preview_action_ = command(tr("预览(&V)"), with_keys(tr("预览"), preview_keys), preview_keys,
                              &MainWindow::preview_requested);
    rename_action_ = command(tr("开始命名(&R)"), with_keys(tr("开始命名"), rename_keys),
                             rename_keys, &MainWindow::rename_requested);
    fix_names_action_ = command(tr("文件名转为UTF-8"), tr("文件名转为UTF-8"), QKeySequence(),
                                &MainWindow::fix_names_requested);

    QMenu* file = menuBar()->addMenu(tr("文件(&F)"));
    file->addAction(add_folder_action_);
    file->addAction(add_files_action_);
    file->addSeparator();
    file->addAction(fix_names_action_);
    build_tag_batch_actions(file);
    file->addSeparator();
    save_preset_action_ =
        file->addAction(tr("保存预设…"), this, &MainWindow::save_preset_requested);
    load_preset_action_ =
        file->addAction(tr("载入预设…"), this, &MainWindow::load_preset_requested);
    recent_menu_ = file->addMenu(tr("最近的预设"));
    show_recent_presets();
    file->addSeparator();
    undo_journal_action_ =
        file->addAction(tr("撤消未完成的批量更名…"), this, &MainWindow::undo_interrupted_batch);
    discard_journal_action_ = file->addAction(tr("丢弃未完成的批量更名记录…"), this,
                                              &MainWindow::discard_interrupted_batch);
    set_pending_journal({});
    undo_history_action_ = file->addAction(tr("撤消历史…"), this, &MainWindow::open_undo_history);
    file->addSeparator();
    quit_action_ =
        file->addAction(tr("退出(&X)"), QKeySequence(Qt::CTRL | Qt::Key_X), this, &QWidget::close);
    QMenu* commands = menuBar()->addMenu(tr("操作(&C)"));
    commands->addAction(preview_action_);
    commands->addAction(rename_action_);
    commands->addSeparator();
    commands->addAction(undo_action_);
    QMenu* options = menuBar()->addMenu(tr("选项(&O)"));
    chain_action_ = options->addAction(tr("规则链(&L)"), this, &MainWindow::show_chain);
    chain_action_->setCheckable(true);
    settings_action_ = options->addAction(tr("设置(&S)..."), QKeySequence(Qt::CTRL | Qt::Key_S),
                                          this, &MainWindow::open_settings);
    QMenu* help = menuBar()->addMenu(tr("帮助(&H)"));
    about_action_ = help->addAction(tr("关于(&A)..."), this, &MainWindow::open_about);
}

void MainWindow::build_toolbar() {
    toolbar_ = addToolBar(tr("工具条"));
    toolbar_->setObjectName(QStringLiteral("工具条"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(16, 15));
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    const std::array<QAction*, 6> buttons{add_folder_action_, add_files_action_, nullptr,
                                          undo_action_,       preview_action_,   rename_action_};
    for (std::size_t index = 0; index < buttons.size(); ++index) {
        if (!buttons[index]) {
            toolbar_->addSeparator();
            continue;
        }
        buttons[index]->setIcon(toolbar_icon(static_cast<int>(index)));
        toolbar_->addAction(buttons[index]);
    }
}

void MainWindow::add_folder_requested() {
    add_folder();
    clear_progress();
}

void MainWindow::add_files_requested() {
    add_files();
    clear_progress();
}

void MainWindow::undo_requested() {
    undo_command();
    clear_progress();
}

void MainWindow::preview_requested() {
    refresh_preview(true);
    clear_progress();
}

void MainWindow::rename_requested() {
    rename_command();
    clear_progress();
}

void MainWindow::fix_names_requested() {
    sync_selection_to_list();
    fix_names_command();
}

void MainWindow::build_status_bar() {
    statusBar()->setObjectName(QStringLiteral("状态条"));
    statusBar()->setSizeGripEnabled(true);
    const std::array<QString, 3> tips{tr("文件个数"), tr("进度"), tr("自动预览")};
    for (std::size_t i = 0; i < tips.size(); ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("状态条面板%1").arg(i));
        panel->setFixedWidth(panel_widths[i]);
        panel->setToolTip(tips[i]);
        statusBar()->addWidget(panel);
        panels_[i] = panel;
    }
}

QString MainWindow::status_text(int panel) const {
    return panel >= 0 && panel < 3 ? panels_[static_cast<std::size_t>(panel)]->text() : QString();
}

}  // namespace varnel
