// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/font_coverage.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRawFont>
#include <QTabBar>
#include <QWidget>

#include "platform/ui/ui_services.h"

namespace varnel {

const char* no_cjk_font_notice() {
    return "No installed font can show Chinese text, so the window's labels would be drawn as "
           "empty boxes. Install a Chinese font, for example the Debian package fonts-noto-cjk "
           "or fonts-wqy-microhei, and start Varnel again.";
}

namespace {

// The texts `widget` shows itself, and those of every widget inside it.
void add_shown_texts(const QWidget& widget, QString& texts) {
    texts += widget.windowTitle();
    for (const QAction* action : widget.actions()) texts += action->text();
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) texts += label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) texts += button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) texts += group->title();
    if (const auto* menu = qobject_cast<const QMenu*>(&widget)) texts += menu->title();
    if (const auto* tabs = qobject_cast<const QTabBar*>(&widget))
        for (int i = 0; i < tabs->count(); ++i) texts += tabs->tabText(i);
    for (const QObject* child : widget.children())
        if (const auto* child_widget = qobject_cast<const QWidget*>(child))
            add_shown_texts(*child_widget, texts);
}

}  // namespace

QString shown_texts(const QWidget& window) {
    QString texts;
    add_shown_texts(window, texts);
    return texts;
}

bool font_covers(const QFont& font, const QString& text) {
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid()) return false;
    for (const char32_t code : text.toUcs4()) {
        if (QChar::isSpace(code) || QChar::category(code) == QChar::Other_Control) continue;
        if (!raw.supportsCharacter(code)) return false;
    }
    return true;
}

QString covering_family(const QStringList& families, const QString& text) {
    for (const QString& family : families) {
        QFont font(family);
        // Only this family: no substitute may answer for it.
        font.setStyleStrategy(QFont::NoFontMerging);
        if (QFontInfo(font).family() == family && font_covers(font, text)) return family;
    }
    return {};
}

QStringList cjk_families() {
    QStringList families;
    for (const QFontDatabase::WritingSystem system :
         {QFontDatabase::SimplifiedChinese, QFontDatabase::TraditionalChinese,
          QFontDatabase::Japanese, QFontDatabase::Korean})
        for (const QString& family : QFontDatabase::families(system))
            if (!families.contains(family)) families.append(family);
    return families;
}

FontCoverage ensure_font_covers(const QString& text, const QStringList& candidates,
                                UiServices& services) {
    QFont font = QApplication::font();
    QStringList families = font.families();
    if (families.isEmpty()) families.append(font.family());
    if (font_covers(font, text) || !covering_family(families, text).isEmpty())
        return FontCoverage::covered;
    const QString family = covering_family(candidates, text);
    if (!family.isEmpty()) {
        families.append(family);
        font.setFamilies(families);
        QApplication::setFont(font);
        return FontCoverage::fallback;
    }
    services.message_box(nullptr, QStringLiteral("Varnel"),
                         QString::fromLatin1(no_cjk_font_notice()), MessageIcon::warning,
                         MessageButtons::ok);
    return FontCoverage::none;
}

}  // namespace varnel
