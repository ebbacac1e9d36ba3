#include "platform/ui/qt_ui_services.h"

#include "platform/ui/http_fetch.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QUrl>

namespace varnel {

namespace {

QMessageBox::Icon qt_icon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::information:
            return QMessageBox::Information;
        case MessageIcon::warning:
            return QMessageBox::Warning;
        case MessageIcon::exclamation:
            return QMessageBox::Warning;
        case MessageIcon::question:
            return QMessageBox::Question;
        case MessageIcon::error:
            return QMessageBox::Critical;
        case MessageIcon::none:
            return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer QtUiServices::message_box(QWidget* parent, const QString& title, const QString& text,
                                        MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(
        qt_icon(icon), title, text,
        buttons == MessageButtons::ok ? QMessageBox::Ok : (QMessageBox::Yes | QMessageBox::No),
        parent);
    const int answer = box.exec();
    if (buttons == MessageButtons::ok) return MessageAnswer::ok;
    return answer == QMessageBox::Yes ? MessageAnswer::yes : MessageAnswer::no;
}

QStringList QtUiServices::open_files(QWidget* parent, const QString& title, const QString& folder,
                                     const QString& filters) {
    return QFileDialog::getOpenFileNames(parent, title, folder, filters);
}

QString QtUiServices::choose_folder(QWidget* parent, const QString& prompt) {
    return QFileDialog::getExistingDirectory(parent, prompt, QString(), QFileDialog::ShowDirsOnly);
}

std::optional<QFont> QtUiServices::choose_font(QWidget* parent, const QFont& initial) {
    bool accepted = false;
    const QFont font = QFontDialog::getFont(&accepted, initial, parent);
    if (!accepted) return std::nullopt;
    return font;
}

std::optional<QColor> QtUiServices::choose_colour(QWidget* parent, const QColor& initial) {
    const QColor colour = QColorDialog::getColor(initial, parent);
    if (!colour.isValid()) return std::nullopt;
    return colour;
}

void QtUiServices::set_busy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool QtUiServices::open_url(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

std::optional<QByteArray> QtUiServices::fetch(const QString& url) {
    return http_get(QUrl(url));
}

}  // namespace varnel
