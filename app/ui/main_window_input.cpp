// SPDX-License-Identifier: GPL-3.0-or-later
// What reaches the window from the user beyond its controls' own handling:
// drops and command keys on any of its widgets, and the automatic preview
// that follows typing without holding it up.

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <algorithm>

#include "app/ui/main_window.h"
#include "filelist/adding.h"
#include "filelist/ui/file_list_view.h"
#include "rename/preview.h"
#include "rename/ui/rule_tabs.h"

namespace varnel {

namespace {
const QString uri_list_format = QStringLiteral("text/uri-list");
}  // namespace

// A rule field would take a dropped file's address as text, and its own
// Ctrl+Z would undo its text: on every widget of this window, dropped files
// are added and the command keys go to the window's commands.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool drop = type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
    const bool key = type == QEvent::ShortcutOverride || type == QEvent::KeyPress;
    if (!drop && !key) {
        if (type == QEvent::Resize && watched == view_->viewport()) extend_preview();
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    if (drop) return take_drop(event);
    if (!is_window_command_key(*static_cast<QKeyEvent*>(event))) return false;
    // Not overridden: the shortcut runs. A key press that still arrives
    // belongs to a command that is off now; no widget gets it either.
    event->setAccepted(type == QEvent::KeyPress);
    return true;
}

bool MainWindow::is_window_command_key(const QKeyEvent& key) const {
    const QKeySequence pressed(key.keyCombination());
    const std::array<const QAction*, 3> commands{undo_action_, preview_action_, rename_action_};
    return std::any_of(commands.begin(), commands.end(),
                       [&](const QAction* action) { return action->shortcut() == pressed; });
}

// The raw text/uri-list bytes, percent-decoded to bytes: a legacy name is
// never passed through a Qt string. Drops without files are left to the
// widget (text dropped into a field).
bool MainWindow::take_drop(QEvent* event) {
    auto* drag = static_cast<QDropEvent*>(event);
    if (!drag->mimeData()->hasFormat(uri_list_format)) return false;
    drag->acceptProposedAction();
    if (event->type() != QEvent::Drop) return true;
    const QByteArray list = drag->mimeData()->data(uri_list_format);
    const std::vector<std::string> paths = paths_from_uri_list(
        std::string_view(list.constData(), static_cast<std::size_t>(list.size())));
    if (!paths.empty()) add_dropped_paths(paths);
    return true;
}

// Reached only by a drag handed to the window itself, past the filter.
void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    take_drop(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
    take_drop(event);
}

void MainWindow::schedule_preview() {
    // At once, also without the automatic preview: a rule that cannot run
    // disables 开始命名 while the user types.
    check_rule_input();
    if (!settings_.auto_preview) return;
    preview_timer_->start();
}

void MainWindow::flush_preview() {
    if (!preview_timer_->isActive() && partial_preview_rows_ == 0) return;
    refresh_preview(false);
}

void MainWindow::stop_pending_preview() {
    if (preview_timer_) preview_timer_->stop();
    partial_preview_rows_ = 0;
}

int MainWindow::automatic_preview_rows() const {
    const int count = list_.item_count();
    if (settings_.preview_all || name_rule().every_item) return count;
    return std::min(count, std::max(settings_.preview_count, 0));
}

int MainWindow::rows_through_shown(int pages_beyond) const {
    const int row_height = std::max(1, view_->verticalHeader()->defaultSectionSize());
    const int page = view_->viewport()->height() / row_height + 1;
    return std::max(view_->rowAt(0), 0) + page * (1 + pages_beyond);
}

void MainWindow::run_automatic_preview(int n) {
    const int wanted = automatic_preview_rows();
    const ListChange change =
        varnel::refresh_preview(list_, name_rule(), preview_settings(n), false, codec_);
    show_rule_error(rule_error_.empty() ? change.rule_error : rule_error_);
    partial_preview_rows_ = n < wanted ? n : 0;
}

// The tag rule reads every file whatever is asked of it, so its page
// always computes the whole list.
void MainWindow::preview_shown_rows() {
    if (!settings_.auto_preview) return;
    run_automatic_preview(std::min(automatic_preview_rows(), rows_through_shown(1)));
}

// Grows by doubling at least, so that scrolling through the list computes
// each row a bounded number of times in all.
void MainWindow::extend_preview() {
    if (partial_preview_rows_ == 0 || preview_timer_->isActive()) return;
    if (rows_through_shown(0) <= partial_preview_rows_) return;
    run_automatic_preview(std::min(automatic_preview_rows(),
                                   std::max(rows_through_shown(1), 2 * partial_preview_rows_)));
}

}  // namespace varnel
