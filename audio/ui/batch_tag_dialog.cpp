// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/ui/batch_tag_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/ui/qt_text.h"

namespace varnel {

namespace {
constexpr int rows_per_column = 6;  // two columns: the six common fields, then the ID3 ones
}  // namespace

BatchTagDialog::BatchTagDialog(std::vector<std::string> fs_paths, TagBatchSetup setup,
                               QWidget* parent)
    : TagBatchWindow(std::move(fs_paths), std::move(setup), parent) {
    setObjectName(QStringLiteral("批量编辑标签窗口"));
    setWindowTitle(tr("批量编辑标签"));
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < change_.size(); ++i) {
        change_[i] = new QCheckBox(field_name(i), this);
        change_[i]->setObjectName(QStringLiteral("字段选择框%1").arg(i + 1));
        text_[i] = new QLineEdit(this);
        text_[i]->setObjectName(QStringLiteral("字段编辑框%1").arg(i + 1));
        text_[i]->setPlaceholderText(tr("保持不变"));
        const int row = static_cast<int>(i) % rows_per_column;
        const int column = static_cast<int>(i) / rows_per_column * 2;
        grid->addWidget(change_[i], row, column);
        grid->addWidget(text_[i], row, column + 1);
        connect(text_[i], &QLineEdit::textEdited, change_[i],
                [box = change_[i]] { box->setChecked(true); });
        connect(text_[i], &QLineEdit::textChanged, this, &BatchTagDialog::refresh_table);
        connect(change_[i], &QCheckBox::toggled, this, &BatchTagDialog::refresh_table);
    }
    auto* note = new QLabel(
        tr("勾选的字段写入每个文件（框中无字时清空该字段），未勾选的保持不变。MP3文件可改全部十二个"
           "字段；其他音频格式只改左列六个字段，右列字段不适用。"),
        this);
    note->setObjectName(QStringLiteral("适用字段说明"));
    note->setWordWrap(true);
    controls()->addLayout(grid);
    controls()->addWidget(note);
    refresh_table();
}

TagBatchWindow::FileRequest BatchTagDialog::request_for(std::size_t) const {
    FileRequest wanted;
    TagEditRequest& request = wanted.request.emplace();
    for (std::size_t i = 0; i < change_.size(); ++i)
        if (change_[i]->isChecked()) request.fields[i] = from_qstring(text_[i]->text(), codec());
    return wanted;
}

void run_batch_tag_edit(QWidget* parent, const std::vector<std::string>& fs_paths,
                        TagBatchSetup setup) {
    auto* dialog = new BatchTagDialog(fs_paths, std::move(setup), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

}  // namespace varnel
