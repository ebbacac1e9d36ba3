// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about window 关于: the product's name and version, and the update
// check behind 访问官方网站. Fixed at 290 x 241 at the default font, and as
// much bigger as a bigger font needs.

#include <QDialog>
#include <array>

#include "app/product.h"
#include "platform/codec.h"

class QLabel;
class QPushButton;

namespace varnel {

class UiServices;

class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    // `update_check` false: 访问官方网站 says that updates come from the
    // package manager and fetches nothing.
    AboutDialog(const Codec& codec, UiServices& services, QWidget* parent = nullptr,
                bool update_check = product::update_check);

    // Fetches the update page and tells the user what it says: a newer
    // version (Yes opens the home page when the page asks for that), the same
    // version, or nothing at all for an older version or a failed fetch.
    // Without the update check: the message that the package manager updates
    // the program.
    void check_for_update();

protected:
    // A left click on the background (not on a control) closes the window.
    void mousePressEvent(QMouseEvent* event) override;

private:
    // `texts`: the heading, the subtitle, the name and the version.
    void lay_out(const std::array<QLabel*, 4>& texts, QPushButton* visit, QPushButton* ok);
    // What 访问官方网站 says when the package manager updates the program.
    static QString package_manager_text();

    const Codec& codec_;
    UiServices& services_;
    bool update_check_;
};

}  // namespace varnel
