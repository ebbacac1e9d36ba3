// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QString>
#include <QTranslator>

#include <vector>

namespace varnel {
namespace {

// The translators use_language installed, so that the next call can take
// them away again (tests switch languages within one process).
std::vector<QPointer<QTranslator>>& installed() {
    static std::vector<QPointer<QTranslator>> translators;
    return translators;
}

void remove_installed() {
    for (const QPointer<QTranslator>& translator : installed()) {
        if (!translator) continue;
        QCoreApplication::removeTranslator(translator);
        delete translator.data();
    }
    installed().clear();
}

bool install(QCoreApplication& application, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    installed().emplace_back(translator);
    return true;
}

}  // namespace

Language chosen_language(LanguageChoice choice) {
    switch (choice) {
        case LanguageChoice::chinese:
            return Language::chinese;
        case LanguageChoice::english:
            return Language::english;
        case LanguageChoice::automatic:
            break;
    }
    return language_from_environment();
}

QString language_choice_text(LanguageChoice choice) {
    switch (choice) {
        case LanguageChoice::chinese:
            return QStringLiteral("中文");
        case LanguageChoice::english:
            return QStringLiteral("English");
        case LanguageChoice::automatic:
            break;
    }
    return QCoreApplication::translate("LanguageChoice", "自动");
}

bool use_language(QCoreApplication& application, Language language) {
    remove_installed();
    set_text_language(language);
    if (language == Language::chinese) return load_qt_translations(application);
    // Qt's own texts are English already; only Varnel's need a translation.
    return install(application, QStringLiteral("varnel_en"), QStringLiteral(":/i18n"));
}

bool load_qt_translations(QCoreApplication& application) {
    return install(application, QStringLiteral("qtbase_zh_CN"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace varnel
