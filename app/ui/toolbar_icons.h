// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 16 x 15 icons of the toolbar 工具条, drawn in full colour so that
// each button is told apart at a glance and none looks disabled while it is
// enabled (Qt greys them itself when they are not).

#include <QIcon>

namespace varnel {

// The icon of toolbar button `index` (0 选择目录, 1 加入多个文件, 3 撤消,
// 4 预览, 5 开始命名); an empty icon for any other index.
QIcon toolbar_icon(int index);

}  // namespace varnel
