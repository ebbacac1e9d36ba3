// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/about_dialog.h"

#include <QApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/product.h"
#include "app/update_check.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"

namespace varnel {

namespace {

QString latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The window's size at the default font; a bigger font makes it bigger.
constexpr QSize design_size(290, 241);

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

}  // namespace

AboutDialog::AboutDialog(const Codec& codec, UiServices& services, QWidget* parent,
                         bool update_check)
    : QDialog(parent), codec_(codec), services_(services), update_check_(update_check) {
    setWindowTitle(tr("关于"));
    // The upper third: a decorative heading.
    auto* heading = named(new QLabel(latin(product::name), this), "标题标签");
    QFont big = heading->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    heading->setFont(big);
    heading->setAlignment(Qt::AlignCenter);
    auto* subtitle = named(new QLabel(tr("文件批量更名器"), this), "副标题标签");
    subtitle->setAlignment(Qt::AlignCenter);
    auto* name = named(
        new QLabel(tr("软件名称：%1 文件批量更名器").arg(latin(product::name)), this), "标签1");
    auto* version =
        named(new QLabel(tr("版本：%1").arg(latin(product::about_version)), this), "标签2");
    auto* visit = named(new QPushButton(tr("访问官方网站"), this), "按钮2");
    auto* ok = named(new QPushButton(tr("确定"), this), "按钮1");
    // Enter closes the window; it never starts the update check.
    visit->setAutoDefault(false);
    ok->setAutoDefault(false);
    ok->setDefault(true);
    if (!update_check_) visit->setToolTip(package_manager_text());
    connect(visit, &QPushButton::clicked, this, &AboutDialog::check_for_update);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    lay_out({heading, subtitle, name, version}, visit, ok);
}

// The heading and subtitle centred, the name and version below them, the
// two buttons centred at the bottom. The name and version keep their own
// width, so that a click beside them reaches the background.
void AboutDialog::lay_out(const std::array<QLabel*, 4>& texts, QPushButton* visit,
                          QPushButton* ok) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 20, 16, 14);
    layout->setSpacing(0);
    layout->addWidget(texts[0]);
    layout->addWidget(texts[1]);
    layout->addSpacing(15);
    layout->addWidget(texts[2], 0, Qt::AlignLeft);
    layout->addSpacing(6);
    layout->addWidget(texts[3], 0, Qt::AlignLeft);
    layout->addStretch(1);
    layout->addSpacing(12);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(24);
    buttons->addStretch();
    buttons->addWidget(visit);
    buttons->addWidget(ok);
    buttons->addStretch();
    layout->addLayout(buttons);
    setFixedSize(design_size.expandedTo(layout->minimumSize()));
}

QString AboutDialog::package_manager_text() {
    return tr("本程序的更新由系统的软件包管理器提供");
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
        services_.message_box(nullptr, tr("信息："), package_manager_text(), MessageIcon::none,
                              MessageButtons::ok);
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
                nullptr, tr("是否下载最新版？"), to_qstring(verdict.prompt, codec_),
                MessageIcon::none, MessageButtons::yes_no);
            if (answer == MessageAnswer::yes && verdict.open_home)
                services_.open_url(latin(product::home_page_url));
            break;
        }
        case UpdateVerdict::Kind::same:
            services_.message_box(nullptr, tr("信息："), tr("没有可用更新"), MessageIcon::none,
                                  MessageButtons::ok);
            break;
        case UpdateVerdict::Kind::nothing:
            break;
    }
}

}  // namespace varnel
