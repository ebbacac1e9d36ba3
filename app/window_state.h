// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window remembers between runs, in config.ini's section
// [窗口状态] (code page, the file's format unchanged):
//   位置=x,y,width,height      the window's normal geometry, in pixels
//   最大化=开|关
//   上次文件夹="…"             the folder chooser's last folder, file-system bytes
//   包含子文件夹=开|关
//   当前页=0..4                the active rule page
//   规则链=开|关
//   规则链内容="…"             the last chain as preset text (rename/preset.h),
//                              line ends escaped as in a preset value
//   最近预设1..最近预设5="…"   the recent preset files, newest first,
//                              file-system bytes
//   大小列=开|关               the list's optional columns 大小 and 修改时间
//   修改时间列=开|关           shown (关 at first)
// Values are written in quotes so that spaces at either end survive.

#include <optional>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "rename/preset.h"

namespace varnel {

struct WindowGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const WindowGeometry&, const WindowGeometry&) = default;
};

inline constexpr int recent_preset_slots = 5;

struct WindowState {
    std::optional<WindowGeometry> geometry;  // none: let the window system place it
    bool maximized = false;
    std::string last_folder;  // empty: none remembered
    bool include_subfolders = false;
    int active_page = 0;
    bool chain_on = false;
    std::optional<Preset> chain;  // none: no chain remembered (or it did not read back)
    // At most recent_preset_slots, none empty; more are not written.
    std::vector<std::string> recent_presets;
    bool size_column = false;
    bool modified_column = false;
};

// The state kept in the config.ini at `path`; a missing file, section or
// key gives the default, and a value that does not read (a geometry that is
// not four numbers with a positive size, a page outside 0..4, a chain that
// is not a preset) is taken as not remembered.
[[nodiscard]] WindowState load_window_state(const std::string& path);

// Writes the section in one atomic replacement of the file, every other
// line kept. A last folder holding a line break is not remembered.
[[nodiscard]] WriteResult save_window_state(const std::string& path, const WindowState& state);

}  // namespace varnel
