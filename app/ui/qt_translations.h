// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language the window speaks: its own texts (written in Chinese in the
// source, English from varnel_en.qm), Qt's standard buttons and dialogs, and
// the engine's texts (platform/language.h).

#include "app/settings.h"
#include "platform/language.h"

class QCoreApplication;
class QString;

namespace varnel {

// The language of a 界面语言 choice: automatic follows the locale.
[[nodiscard]] Language chosen_language(LanguageChoice choice);

// The words the settings window offers for a 界面语言 choice: "自动" in the
// window's language; "中文" and "English" each in its own language.
[[nodiscard]] QString language_choice_text(LanguageChoice choice);

// Makes `application` speak `language`: installs its translators (removing
// those a previous call installed) and sets the engine's text language.
// False when a translation file could not be loaded; the texts concerned then
// stay in their source language (Chinese for Varnel's, English for Qt's).
bool use_language(QCoreApplication& application, Language language);

// Installs qtbase_zh_CN from Qt's translations folder on `application`, so
// that "Yes", "Cancel", the colour and the font chooser read in Chinese like
// the rest of the program. False when the translation is not installed (the
// texts then stay English).
bool load_qt_translations(QCoreApplication& application);

}  // namespace varnel
