// SPDX-License-Identifier: GPL-3.0-or-later
// The template box of page MP3标签 under its 50-byte limit, typed into.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "rename/ui/tag_page.h"
#include "support/qt_text.h"

namespace varnel {
namespace {

using namespace Qt::StringLiterals;

// Typing that would take the template past 50 bytes is refused with text
// and caret unchanged; a full box is never cut (typing before "#2" once
// left a literal "#").
TEST(TemplateBox, TypingPastFiftyBytesIsRefused) {
    Codec codec;
    TagPage page(codec);
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    auto* box = page.findChild<QLineEdit*>(QStringLiteral("MP3命名规则编辑框"));
    ASSERT_NE(box, nullptr);
    box->setFocus();
    struct Case {
        QString start;
        int caret;
        QString typed;
        QString after;
    };
    const QString full = QString(46, u'a') + u"-#2"_s;  // 49 bytes
    const std::vector<Case> cases = {
        {full, 0, u"b"_s, u"b"_s + full},            // 50 bytes: fits
        {u"b"_s + full, 0, u"c"_s, u"b"_s + full},   // 51: refused before "#2"
        {u"b"_s + full, 49, u"c"_s, u"b"_s + full},  // refused between "#" and "2"
        {full, 46, u"中"_s, full},                   // two bytes: 51
        {QString(48, u'a'), 48, u"中"_s, QString(48, u'a') + u"中"_s},  // exactly 50
    };
    for (const Case& c : cases) {
        box->setText(c.start);
        box->setCursorPosition(c.caret);
        test::type_text(box, c.typed);
        EXPECT_EQ(box->text().toStdString(), c.after.toStdString()) << c.typed.toStdString();
        const int caret = c.after == c.start ? c.caret : c.caret + static_cast<int>(c.typed.size());
        EXPECT_EQ(box->cursorPosition(), caret) << c.start.toStdString();
        EXPECT_EQ(page.options().tag_template.size(),
                  c.after.toUtf8().size() - (c.after.contains(u'中') ? 1 : 0));
    }
}

}  // namespace
}  // namespace varnel
