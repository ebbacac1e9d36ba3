// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real desktop: the program's own file choosers, Qt's message boxes,
// font and colour choosers, and the cursor.

#include "platform/codec.h"
#include "platform/ui/ui_services.h"

namespace varnel {

class QtUiServices final : public UiServices {
public:
    MessageAnswer message_box(QWidget* parent, const QString& title, const QString& text,
                              MessageIcon icon, MessageButtons buttons) override;
    std::string save_file(QWidget* parent, const QString& title, const std::string& folder,
                          const QString& name) override;
    std::vector<std::string> open_files(QWidget* parent, const QString& title,
                                        const std::string& folder,
                                        const std::vector<ChooserFilter>& filters) override;
    std::optional<FolderChoice> choose_folder(QWidget* parent, const QString& prompt,
                                              const std::string& folder,
                                              bool with_subfolders) override;
    std::optional<QFont> choose_font(QWidget* parent, const QFont& initial) override;
    std::optional<QColor> choose_colour(QWidget* parent, const QColor& initial) override;
    void set_busy(bool busy) override;
    bool open_url(const QString& url) override;
    std::optional<QByteArray> fetch(const QString& url) override;
    std::unique_ptr<ProgressWindow> progress(QWidget* parent, const QString& label) override;

private:
    Codec codec_;  // shows names in the choosers
};

}  // namespace varnel
