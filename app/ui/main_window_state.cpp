// SPDX-License-Identifier: GPL-3.0-or-later
// What the window remembers between runs (app/window_state.h): its place,
// the folder chooser's last folder, the active page, the chain and the
// recent presets.

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_view.h"
#include "rename/ui/chain_panel.h"
#include "rename/ui/rule_tabs.h"

namespace varnel {

void MainWindow::restore_window_state() {
    const WindowState state = load_window_state(config_path_);
    if (state.geometry) {
        const WindowGeometry& g = *state.geometry;
        setGeometry(g.x, g.y, std::max(g.width, minimumWidth()),
                    std::max(g.height, minimumHeight()));
    }
    if (state.maximized) setWindowState(windowState() | Qt::WindowMaximized);
    chooser_folder_ = state.last_folder;
    chooser_subfolders_ = state.include_subfolders;
    tabs_->setCurrentIndex(state.active_page);
    if (state.chain) chain_->set_steps(state.chain->steps);
    if (state.chain_on && state.chain) {
        show_chain(true);
        chain_->set_on(true);
    }
    recent_presets_ = state.recent_presets;
    show_recent_presets();
    view_->set_shown(Column::size, state.size_column);
    view_->set_shown(Column::modified, state.modified_column);
}

WriteResult MainWindow::save_window_state_file() const {
    WindowState state;
    const QRect normal = normalGeometry();
    if (normal.isValid())
        state.geometry = WindowGeometry{normal.x(), normal.y(), normal.width(), normal.height()};
    state.maximized = isMaximized();
    state.last_folder = chooser_folder_;
    state.include_subfolders = chooser_subfolders_;
    state.active_page = tabs_->currentIndex();
    state.chain_on = chain_->is_on();
    if (!chain_->steps().empty()) state.chain = Preset{true, chain_->steps(), {}};
    state.recent_presets = recent_presets_;
    state.size_column = view_->is_shown(Column::size);
    state.modified_column = view_->is_shown(Column::modified);
    return save_window_state(config_path_, state);
}

}  // namespace varnel
