// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts of the window tests: finding Chinese in what a window shows, and
// typing into a box the way a person does.

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <algorithm>

namespace varnel::test {

// Han characters, CJK punctuation and full-width forms ("：", "！"): what an
// untranslated Chinese text would show.
inline bool has_chinese(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3000 && u <= 0x303F) || (u >= 0x3400 && u <= 0x9FFF) ||
               (u >= 0xFF00 && u <= 0xFFEF);
    });
}

// Types `text` into `box` one character at a time, as key presses.
inline void type_text(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

}  // namespace varnel::test
