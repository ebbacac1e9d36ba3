#pragma once
// The about window 关于: the product's name and version, and the update
// check behind 访问官方网站.

#include <QDialog>

#include "platform/codec.h"

namespace varnel {

class UiServices;

class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const Codec& codec, UiServices& services, QWidget* parent = nullptr);

    // Fetches the update page and tells the user what it says: a newer
    // version (Yes opens the home page when the page asks for that), the same
    // version, or nothing at all for an older version or a failed fetch.
    void check_for_update();

protected:
    // A left click on the background (not on a control) closes the window.
    void mousePressEvent(QMouseEvent* event) override;

private:
    const Codec& codec_;
    UiServices& services_;
};

}  // namespace varnel
