// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the installed fonts can draw the window's Chinese texts, and what
// the program does when the default font cannot.

#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;

namespace varnel {

class UiServices;

// Every text `window` and its children show: the window titles, the texts of
// labels, buttons, group boxes, tabs, menus and their actions.
QString shown_texts(const QWidget& window);

// True when the font `font` itself resolves to (its first family, without
// the toolkit's fallback fonts) has a glyph for every character of `text`
// that is not white space.
bool font_covers(const QFont& font, const QString& text);

// The first of `families` whose font covers `text` (see font_covers), in
// the given order; empty when none does.
QString covering_family(const QStringList& families, const QString& text);

// The installed families that declare a Chinese, Japanese or Korean writing
// system, Simplified Chinese first.
QStringList cjk_families();

// What the user is told when no installed font draws Chinese: English and
// ASCII only, so that the very fonts that lack Chinese draw it.
const char* no_cjk_font_notice();

enum class FontCoverage {
    covered,   // the application's font (one of its families) draws `text` itself
    fallback,  // a covering CJK family was put behind the application's font
    none,      // no installed font draws it; the user was told
};

// Makes the application's font able to draw `text`. When its own family
// cannot, the first family of `candidates` that can (normally cjk_families())
// is added behind it, so Latin text keeps its font and the rest comes from
// that family. When none can, says so once through `services` in an English
// message of ASCII characters, which every font draws.
FontCoverage ensure_font_covers(const QString& text, const QStringList& candidates,
                                UiServices& services);

}  // namespace varnel
