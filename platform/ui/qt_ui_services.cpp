// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/qt_ui_services.h"

#include "platform/ui/file_chooser.h"
#include "platform/ui/http_fetch.h"
#include "platform/ui/qt_text.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStandardPaths>
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
    if (buttons == MessageButtons::yes_no_default_no) box.setDefaultButton(QMessageBox::No);
    const int answer = box.exec();
    if (buttons == MessageButtons::ok) return MessageAnswer::ok;
    return answer == QMessageBox::Yes ? MessageAnswer::yes : MessageAnswer::no;
}

std::vector<std::string> QtUiServices::open_files(QWidget* parent, const QString& title,
                                                  const std::string& folder,
                                                  const std::vector<ChooserFilter>& filters) {
    FileChooser chooser(ChooserMode::files, title, folder, filters, codec_, parent);
    if (chooser.exec() != QDialog::Accepted) return {};
    return chooser.chosen();
}

std::string QtUiServices::save_file(QWidget* parent, const QString& title,
                                    const std::string& folder, const QString& name) {
    const QString start = QFile::decodeName(QByteArray::fromStdString(folder)) + u'/' + name;
    const QString chosen = QFileDialog::getSaveFileName(parent, title, start);
    return chosen.isEmpty() ? std::string() : QFile::encodeName(chosen).toStdString();
}

std::optional<FolderChoice> QtUiServices::choose_folder(QWidget* parent, const QString& prompt,
                                                        const std::string& folder,
                                                        bool with_subfolders) {
    FileChooser chooser(ChooserMode::folder, prompt, folder, {}, codec_, parent);
    chooser.set_with_subfolders(with_subfolders);
    if (chooser.exec() != QDialog::Accepted || chooser.chosen().empty()) return std::nullopt;
    return FolderChoice{chooser.chosen().front(), chooser.with_subfolders(),
                        chooser.shows_hidden()};
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

namespace {

// A QProgressDialog: window-modal, so its setValue handles input (the 取消
// button) while the command runs on the GUI thread.
class DialogProgress final : public ProgressWindow {
public:
    DialogProgress(QWidget* parent, const QString& label)
        : dialog_(label, QCoreApplication::translate("varnel::QtUiServices", "取消"), 0, 0,
                  parent) {
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(500);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);  // starts the half-second clock
    }
    void set_value(int done, int count) override {
        if (dialog_.maximum() != count) dialog_.setMaximum(count);
        dialog_.setValue(done);
    }
    bool was_cancelled() override { return dialog_.wasCanceled(); }

private:
    QProgressDialog dialog_;
};

}  // namespace

std::unique_ptr<ProgressWindow> QtUiServices::progress(QWidget* parent, const QString& label) {
    return std::make_unique<DialogProgress>(parent, label);
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
