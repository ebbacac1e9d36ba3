// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/ui/tags_from_names_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <array>

#include "platform/ui/qt_text.h"
#include "rename/tag_template.h"
#include "rename/tags_from_name.h"

namespace varnel {

namespace {

// Placeholder #k (k = 1..6): the field it fills, and its index in
// TagEditRequest::fields.
struct Placeholder {
    std::string TagFields::*member;
    std::size_t request_index;
};
constexpr std::array<Placeholder, 6> placeholders{{{&TagFields::artist, 1},
                                                   {&TagFields::title, 0},
                                                   {&TagFields::album, 2},
                                                   {&TagFields::track, 3},
                                                   {&TagFields::year, 4},
                                                   {&TagFields::genre, 5}}};

std::string last_component(const std::string& path) {
    return path.substr(path.rfind('/') + 1);  // all of it without a '/'
}

}  // namespace

TagsFromNamesDialog::TagsFromNamesDialog(std::vector<std::string> fs_paths, TagBatchSetup setup,
                                         const std::string& tag_template, QWidget* parent)
    : TagBatchWindow(std::move(fs_paths), std::move(setup), parent), template_(tag_template) {
    setObjectName(QStringLiteral("文件名转为标签窗口"));
    setWindowTitle(tr("文件名转为标签"));
    template_edit_ = new QLineEdit(to_qstring(template_, codec()), this);
    template_edit_->setObjectName(QStringLiteral("模板编辑框"));
    template_edit_->setToolTip(tr(
        "#1 艺术家，#2 歌曲名，#3 专辑，#4 音轨，#5 年代，#6 流派；占位符之间的文字用来分隔字段"));
    reference_ = new QLabel(this);
    reference_->setObjectName(QStringLiteral("参照标签"));
    auto* form = new QFormLayout;
    form->addRow(tr("模板："), template_edit_);
    form->addRow(tr("参照："), reference_);
    controls()->addLayout(form);
    connect(template_edit_, &QLineEdit::textChanged, this, &TagsFromNamesDialog::template_changed);
    template_changed();
}

void TagsFromNamesDialog::template_changed() {
    template_ = from_qstring(template_edit_->text(), codec());
    reference_->setText(to_qstring(tag_template_reference(template_), codec()));
    refresh_table();
}

TagBatchWindow::FileRequest TagsFromNamesDialog::request_for(std::size_t index) const {
    const std::string name = codec().text_from_fs(last_component(paths()[index]));
    const NameTags tags = tags_from_name(template_, name);
    FileRequest wanted;
    if (!tags.matched()) {
        wanted.mark = tr("文件名与模板不符");
        wanted.why = to_qstring(tags.reason, codec());
        return wanted;
    }
    TagEditRequest& request = wanted.request.emplace();
    for (std::size_t k = 0; k < placeholders.size(); ++k)
        if (tags.named[k])
            request.fields[placeholders[k].request_index] = tags.fields.*placeholders[k].member;
    return wanted;
}

void run_tags_from_names(QWidget* parent, const std::vector<std::string>& fs_paths,
                         TagBatchSetup setup, const std::string& tag_template) {
    auto* dialog = new TagsFromNamesDialog(fs_paths, std::move(setup), tag_template, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

}  // namespace varnel
