// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's own Chinese texts for its standard buttons and dialogs.

class QCoreApplication;

namespace varnel {

// Installs qtbase_zh_CN from Qt's translations folder on `application`, so
// that "Yes", "Cancel", the colour and the font chooser read in Chinese like
// the rest of the program. False when the translation is not installed (the
// texts then stay English).
bool load_qt_translations(QCoreApplication& application);

}  // namespace varnel
