// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/context_menu_state.h"

namespace varnel {

ContextMenuState context_menu_state(int rows, int selected_rows, bool tag_page_shown,
                                    bool mp3_selected) {
    ContextMenuState state;
    const bool has_rows = rows > 0;
    const bool has_selection = selected_rows > 0;
    state.preview = has_rows;
    state.filter = has_rows;
    state.remove_selected = has_selection;
    state.clear = has_rows;
    state.tag_info = has_selection;
    state.remove_without_tag = has_rows && tag_page_shown;
    state.select_all = has_rows;
    state.fix_names = has_selection;
    state.fix_tags = has_selection && mp3_selected;
    return state;
}

}  // namespace varnel
