// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop of the window benchmarks: every question answered Yes (OK
// where OK is the only button), every chooser left without a choice, no
// browser and no network; nothing here may block.

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/ui_services.h"

namespace varnel::bench {

class QuietDesktop final : public UiServices {
public:
    MessageAnswer message_box(QWidget*, const QString&, const QString&, MessageIcon,
                              MessageButtons buttons) override {
        return buttons == MessageButtons::ok ? MessageAnswer::ok : MessageAnswer::yes;
    }
    std::vector<std::string> open_files(QWidget*, const QString&, const std::string&,
                                        const std::vector<ChooserFilter>&) override {
        return {};
    }
    std::optional<FolderChoice> choose_folder(QWidget*, const QString&, const std::string&,
                                              bool) override {
        return std::nullopt;
    }
    std::optional<QFont> choose_font(QWidget*, const QFont&) override { return std::nullopt; }
    std::optional<QColor> choose_colour(QWidget*, const QColor&) override { return std::nullopt; }
    void set_busy(bool) override {}
    bool open_url(const QString&) override { return false; }
    std::optional<QByteArray> fetch(const QString&) override { return std::nullopt; }
};

}  // namespace varnel::bench
