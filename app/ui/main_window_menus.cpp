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

void MainWindow::build_menus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(QStringLiteral("选择目录(&D)..."), QKeySequence(Qt::CTRL | Qt::Key_D), this,
                    [this] { add_folder(); });
    file->addAction(QStringLiteral("添加文件(&N)..."), QKeySequence(Qt::CTRL | Qt::Key_F), this,
                    [this] { add_files(); });
    file->addSeparator();
    file->addAction(QStringLiteral("文件名转为UTF-8"), this, [this] {
        sync_selection_to_list();
        fix_names_command();
    });
    file->addSeparator();
    undo_journal_action_ = file->addAction(QStringLiteral("撤消未完成的批量更名…"), this,
                                           [this] { undo_interrupted_batch(); });
    discard_journal_action_ = file->addAction(QStringLiteral("丢弃未完成的批量更名记录…"), this,
                                              [this] { discard_interrupted_batch(); });
    set_pending_journal(false);
    file->addSeparator();
    file->addAction(QStringLiteral("退出(&X)"), QKeySequence(Qt::CTRL | Qt::Key_X), this,
                    [this] { close(); });
    QMenu* options = menuBar()->addMenu(QStringLiteral("选项(&O)"));
    options->addAction(QStringLiteral("设置(&S)..."), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                       [this] { open_settings(); });
    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->addAction(QStringLiteral("关于(&A)..."), this, [this] { open_about(); });
}

void MainWindow::build_toolbar() {
    toolbar_ = addToolBar(QStringLiteral("工具条"));
    toolbar_->setObjectName(QStringLiteral("工具条"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(16, 15));
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    // Tool tips; 撤消, 预览 and 开始命名 have keys too, named in their tips.
    struct Button {
        const char* tip;
        QKeySequence keys;
    };
    const std::array<Button, 6> buttons{{
        {"选择目录", {}},
        {"加入多个文件", {}},
        {nullptr, {}},
        {"撤消", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {"预览", QKeySequence(Qt::Key_F5)},
        {"开始命名", QKeySequence(Qt::CTRL | Qt::Key_R)},
    }};
    for (int index = 0; index < 6; ++index) {
        const Button& button = buttons[static_cast<std::size_t>(index)];
        if (!button.tip) {
            toolbar_actions_[static_cast<std::size_t>(index)] = toolbar_->addSeparator();
            continue;
        }
        QAction* action = toolbar_->addAction(toolbar_icon(index), QString::fromUtf8(button.tip));
        QString tip = QString::fromUtf8(button.tip);
        if (!button.keys.isEmpty()) {
            action->setShortcut(button.keys);
            tip += QStringLiteral(" (") + button.keys.toString(QKeySequence::NativeText) +
                   QLatin1Char(')');
        }
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this, [this, index] { toolbar_command(index); });
        toolbar_actions_[static_cast<std::size_t>(index)] = action;
    }
}

void MainWindow::build_status_bar() {
    statusBar()->setObjectName(QStringLiteral("状态条"));
    statusBar()->setSizeGripEnabled(true);
    const std::array<const char*, 3> tips{"文件个数", "进度", "自动预览"};
    for (std::size_t i = 0; i < tips.size(); ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("状态条面板%1").arg(i));
        panel->setFixedWidth(panel_widths[i]);
        panel->setToolTip(QString::fromUtf8(tips[i]));
        statusBar()->addWidget(panel);
        panels_[i] = panel;
    }
}

QString MainWindow::status_text(int panel) const {
    return panel >= 0 && panel < 3 ? panels_[static_cast<std::size_t>(panel)]->text() : QString();
}

}  // namespace varnel
