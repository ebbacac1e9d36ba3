#include "id3/ui/byte_limit.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "platform/ui/qt_text.h"

namespace varnel {

namespace {

// The longest prefix of `text` whose code-page spelling fits.
QString fitting_prefix(const QString& text, int max_bytes, const Codec& codec) {
    QString fitted = text;
    while (!fitted.isEmpty() && static_cast<int>(from_qstring(fitted, codec).size()) > max_bytes)
        fitted.chop(1);
    return fitted;
}

}  // namespace

void limit_bytes(QLineEdit* edit, int max_bytes, const Codec& codec) {
    QObject::connect(edit, &QLineEdit::textEdited, edit,
                     [edit, max_bytes, &codec](const QString& text) {
                         const QString fitted = fitting_prefix(text, max_bytes, codec);
                         if (fitted.size() != text.size()) edit->setText(fitted);
                     });
}

void limit_bytes(QPlainTextEdit* edit, int max_bytes, const Codec& codec) {
    // QPlainTextEdit tells no typing apart from setting, so a text the
    // program set beyond the limit is cut at the user's next keystroke only.
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, max_bytes, &codec] {
        if (!edit->hasFocus()) return;
        const QString text = edit->toPlainText();
        const QString fitted = fitting_prefix(text, max_bytes, codec);
        if (fitted.size() == text.size()) return;
        edit->setPlainText(fitted);
        edit->moveCursor(QTextCursor::End);
    });
}

}  // namespace varnel
