#pragma once
// The real desktop: Qt's dialogs, message boxes and cursor.

#include "platform/ui/ui_services.h"

namespace varnel {

class QtUiServices final : public UiServices {
public:
    MessageAnswer message_box(QWidget* parent, const QString& title, const QString& text,
                              MessageIcon icon, MessageButtons buttons) override;
    QStringList open_files(QWidget* parent, const QString& title, const QString& folder,
                           const QString& filters) override;
    QString choose_folder(QWidget* parent, const QString& prompt) override;
    std::optional<QFont> choose_font(QWidget* parent, const QFont& initial) override;
    std::optional<QColor> choose_colour(QWidget* parent, const QColor& initial) override;
    void set_busy(bool busy) override;
    bool open_url(const QString& url) override;
    std::optional<QByteArray> fetch(const QString& url) override;
};

}  // namespace varnel
