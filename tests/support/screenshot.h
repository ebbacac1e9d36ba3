// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a window's picture for the screenshots of docs/.

#include <QApplication>
#include <QString>
#include <QWidget>
#include <cstdio>

namespace varnel::test {

// Shows `window`, lets it lay itself out, and writes its picture to `path`
// (PNG by the name's extension); false, said on stderr, when the file
// cannot be written.
inline bool save_shot(QWidget& window, const QString& path) {
    window.show();
    QApplication::processEvents();
    if (window.grab().save(path)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace varnel::test
