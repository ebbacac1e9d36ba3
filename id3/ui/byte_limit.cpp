// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/ui/byte_limit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <memory>

#include "platform/ui/qt_text.h"

namespace varnel {

namespace {

int bytes_of(const QString& text, const Codec& codec) {
    return static_cast<int>(from_qstring(text, codec).size());
}

// What the box may hold instead of `wanted` after a change from `before`
// (the caret at `caret` after the change): `wanted` itself when it fits or
// is no longer than before; a paste cut to what fits; otherwise nothing
// (the change is refused).
std::optional<QString> allowed(const QString& before, const QString& wanted, int& caret,
                               int max_bytes, const Codec& codec) {
    const int size = bytes_of(wanted, codec);
    if (size <= max_bytes || size <= bytes_of(before, codec)) return wanted;
    const qsizetype inserted = wanted.size() - before.size();
    if (inserted <= 1 || caret < inserted) return std::nullopt;  // typing
    const QString head = wanted.left(caret - inserted);
    const QString tail = wanted.mid(caret);
    QString piece = wanted.mid(caret - inserted, inserted);
    while (!piece.isEmpty() && bytes_of(head + piece + tail, codec) > max_bytes) piece.chop(1);
    if (piece.isEmpty()) return std::nullopt;
    caret = static_cast<int>(head.size() + piece.size());
    return head + piece + tail;
}

// What a multi-line box held after the last change it kept.
struct Remembered {
    QString text;
    int caret = 0;
};

}  // namespace

void limit_bytes(QLineEdit* edit, int max_bytes, const Codec& codec) {
    // textChanged follows every text, the program's too; textEdited comes
    // only from the user, after the box holds the changed text.
    auto before = std::make_shared<QString>(edit->text());
    // The box's own text, not the signal's: after a refused change the
    // signal still carries the refused text, which would let the next
    // keystroke through.
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [edit, before] { *before = edit->text(); });
    QObject::connect(
        edit, &QLineEdit::textEdited, edit, [edit, max_bytes, &codec, before](const QString& text) {
            int caret = edit->cursorPosition();
            const QString previous = *before;
            const std::optional<QString> fitted = allowed(previous, text, caret, max_bytes, codec);
            if (fitted && *fitted == text) return;
            const auto grown = static_cast<int>(text.size() - previous.size());
            edit->setText(fitted ? *fitted : previous);
            edit->setCursorPosition(fitted ? caret : caret - grown);
        });
}

void limit_bytes(QPlainTextEdit* edit, int max_bytes, const Codec& codec) {
    auto remembered = std::make_shared<Remembered>();
    QObject::connect(edit, &QPlainTextEdit::cursorPositionChanged, edit, [edit, remembered] {
        if (edit->toPlainText() == remembered->text)
            remembered->caret = edit->textCursor().position();
    });
    QObject::connect(
        edit, &QPlainTextEdit::textChanged, edit, [edit, max_bytes, &codec, remembered] {
            const QString text = edit->toPlainText();
            int caret = edit->textCursor().position();
            // Text the program sets (the box without focus) is kept as it is.
            const std::optional<QString> fitted =
                edit->hasFocus() ? allowed(remembered->text, text, caret, max_bytes, codec)
                                 : std::optional<QString>(text);
            if (fitted && *fitted == text) {
                *remembered = {text, caret};
                return;
            }
            const QSignalBlocker blocker(edit);
            edit->setPlainText(fitted ? *fitted : remembered->text);
            QTextCursor cursor = edit->textCursor();
            cursor.setPosition(fitted ? caret : remembered->caret);
            edit->setTextCursor(cursor);
            remembered->text = edit->toPlainText();
            remembered->caret = cursor.position();
        });
}

}  // namespace varnel
