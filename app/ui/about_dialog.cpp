// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/about_dialog.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "app/product.h"
#include "app/ui/font_growth.h"
#include "app/update_check.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"

namespace varnel {

namespace {

QString latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

}  // namespace

AboutDialog::AboutDialog(const Codec& codec, UiServices& services, QWidget* parent,
                         bool update_check)
    : QDialog(parent), codec_(codec), services_(services), update_check_(update_check) {
    setWindowTitle(QStringLiteral("关于"));
    setFixedSize(290, 241);
    // The upper third: a decorative heading.
    auto* heading = place(new QLabel(latin(product::name), this), "标题标签", 16, 20, 258, 40);
    QFont big = heading->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    heading->setFont(big);
    heading->setAlignment(Qt::AlignCenter);
    place(new QLabel(QStringLiteral("文件批量更名器"), this), "副标题标签", 16, 60, 258, 20)
        ->setAlignment(Qt::AlignCenter);
    place(new QLabel(QStringLiteral("软件名称：") + latin(product::name) +
                         QStringLiteral(" 文件批量更名器"),
                     this),
          "标签1", 16, 95, 232, 14);
    place(new QLabel(QStringLiteral("版本：") + latin(product::about_version), this), "标签2", 18,
          115, 152, 20);
    auto* visit =
        place(new QPushButton(QStringLiteral("访问官方网站"), this), "按钮2", 41, 178, 88, 24);
    auto* ok = place(new QPushButton(QStringLiteral("确定"), this), "按钮1", 154, 178, 88, 24);
    grow_with_font(*this, QSize(290, 241));
    // Enter closes the window; it never starts the update check.
    visit->setAutoDefault(false);
    ok->setAutoDefault(false);
    ok->setDefault(true);
    if (!update_check_) visit->setToolTip(QStringLiteral("本程序的更新由系统的软件包管理器提供"));
    connect(visit, &QPushButton::clicked, this, &AboutDialog::check_for_update);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutDialog::mousePressEvent(QMouseEvent* event) {
    // Labels pass their clicks on; only the window itself counts as background.
    if (event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr)
        accept();
    else
        QDialog::mousePressEvent(event);
}

void AboutDialog::check_for_update() {
    if (!update_check_) {
        // A packaged program is updated with the rest of the system; a
        // download from the web site would bypass the package manager.
        services_.message_box(nullptr, QStringLiteral("信息："),
                              QStringLiteral("本程序的更新由系统的软件包管理器提供"),
                              MessageIcon::none, MessageButtons::ok);
        return;
    }
    QApplication::processEvents();  // the window repaints before the fetch
    QByteArray page;
    {
        const BusyCursor busy(services_);
        page = services_.fetch(latin(product::update_page_url)).value_or(QByteArray());
    }
    const UpdateVerdict verdict =
        judge_update_page(std::string_view(page.constData(), static_cast<std::size_t>(page.size())),
                          product::current_version);
    switch (verdict.kind) {
        case UpdateVerdict::Kind::newer: {
            const MessageAnswer answer = services_.message_box(
                nullptr, QStringLiteral("是否下载最新版？"), to_qstring(verdict.prompt, codec_),
                MessageIcon::none, MessageButtons::yes_no);
            if (answer == MessageAnswer::yes && verdict.open_home)
                services_.open_url(latin(product::home_page_url));
            break;
        }
        case UpdateVerdict::Kind::same:
            services_.message_box(nullptr, QStringLiteral("信息："), QStringLiteral("没有可用更新"),
                                  MessageIcon::none, MessageButtons::ok);
            break;
        case UpdateVerdict::Kind::nothing:
            break;
    }
}

}  // namespace varnel
