// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/ui/tag_fix_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "audio/tag_fix_journal.h"
#include "audio/ui/preview_table.h"
#include "audio/ui/tag_batch_journal.h"
#include "id3/tag_fix_texts.h"
#include "platform/status_words.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/screen_room.h"
#include "platform/ui/ui_services.h"

namespace varnel {

namespace {

enum Column { file_column, field_column, before_column, after_column, change_column };

bool failed(const TagFileFix& fix) {
    return !fix.outcome.result.ok || !fix.reason.empty();
}

bool needs_writing(const TagFileFix& fix) {
    return !failed(fix) && fix.outcome.plan.action != TagFixAction::none;
}

}  // namespace

TagFixDialog::TagFixDialog(std::vector<std::string> fs_paths, UiServices& services,
                           const Codec& codec, bool add_v2_from_v1, QWidget* parent,
                           TagBatchWritten on_written)
    : QDialog(parent),
      paths_(std::move(fs_paths)),
      services_(services),
      codec_(codec),
      add_v2_from_v1_(add_v2_from_v1),
      on_written_(std::move(on_written)) {
    setObjectName(QStringLiteral("标签转为Unicode窗口"));
    setWindowTitle(tr("标签转为Unicode"));
    resize(fitted_to_screen(*this, QSize(760, 420)));  // the table scrolls on a small screen
    table_ = new_preview_table(this, QStringLiteral("转换预览表"),
                               {tr("文件"), tr("字段"), tr("原文字"), tr("新文字"), tr("变化")});
    add_v2_box_ = new QCheckBox(tr("为只有ID3v1标签的文件添加ID3v2标签"), this);
    add_v2_box_->setObjectName(QStringLiteral("v1生成v2复选框"));
    add_v2_box_->setChecked(add_v2_from_v1_);
    const OkCancel ok_cancel = new_ok_cancel(this);
    ok_button_ = ok_cancel.ok;
    cancel_button_ = ok_cancel.cancel;
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_button_);
    buttons->addWidget(cancel_button_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(add_v2_box_);
    layout->addLayout(buttons);
    connect(add_v2_box_, &QCheckBox::toggled, this, [this](bool checked) {
        add_v2_from_v1_ = checked;
        fill_table();
    });
    connect(ok_button_, &QPushButton::clicked, this, &TagFixDialog::write_all);
    connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
    fill_table();
}

void TagFixDialog::add_row(const std::string& path, const std::string& status,
                           const TagTextChange* change, std::string_view what) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    const auto put = [&](int column, std::string_view code_page) {
        table_->setItem(row, column, new QTableWidgetItem(to_qstring(code_page, codec_)));
    };
    // The file's name; its whole path as the tip.
    const std::string shown = codec_.text_from_fs(path);
    put(file_column, shown.substr(shown.rfind('/') + 1));  // all of it without a '/'
    table_->item(row, file_column)->setToolTip(to_qstring(shown, codec_));
    put(change_column, status_for_people(what.empty() ? status : status + " " + std::string(what)));
    if (!change) return;
    put(field_column, change->field);
    put(before_column, change->before);
    put(after_column, change->after);
}

void TagFixDialog::fill_table() {
    planned_.clear();
    table_->setRowCount(0);
    for (const std::string& path : paths_) {
        planned_.push_back(fix_tag_file(path, codec_, add_v2_from_v1_, false));
        const TagFileFix& fix = planned_.back();
        const std::string status = tag_fix_status(fix, false);
        if (!needs_writing(fix)) {
            add_row(path, status, nullptr, {});
            continue;
        }
        const std::string_view what = fix.outcome.plan.action == TagFixAction::convert
                                          ? texts::encoding_change()
                                          : texts::v1_to_v2();
        for (const TagTextChange& change : fix.outcome.plan.changes)
            add_row(path, status, &change, what);
    }
    table_->resizeColumnsToContents();
    bool any = false;
    for (const TagFileFix& fix : planned_) any = any || needs_writing(fix);
    ok_button_->setEnabled(any);
}

// Writes every file the preview showed changes for; the others are left
// alone. 取消 in the progress window stops after the file being written.
// One message tells the outcome, each failure with its reason. Without an
// undo journal nothing is written unless the person agrees.
void TagFixDialog::write_all() {
    std::optional<BatchJournal> journal =
        start_batch_journal(this, services_, windowTitle(), codec_);
    if (!journal) return;
    std::optional<TagFixJournal> recorder;
    if (journal->journal) recorder.emplace(*journal->journal);
    written_.clear();
    services_.set_busy(true);
    const std::unique_ptr<ProgressWindow> progress = services_.progress(this, tr("正在转换标签……"));
    const int count = static_cast<int>(paths_.size());
    int done = 0;
    bool cancelled = false;
    std::string failures;
    for (std::size_t i = 0; i < paths_.size(); ++i) {
        if (cancelled) {  // 取消: the files not reached stay as they are
            written_.push_back(planned_[i]);
            continue;
        }
        if (!needs_writing(planned_[i])) {
            written_.push_back(planned_[i]);
            continue;
        }
        written_.push_back(fix_tag_file(paths_[i], codec_, add_v2_from_v1_, true,
                                        recorder ? &*recorder : nullptr));
        if (failed(written_.back())) {
            failures += '\n' + codec_.text_from_fs(paths_[i]) + ": " +
                        tag_fix_status(written_.back(), true);
        } else {
            ++done;
        }
        progress->set_value(static_cast<int>(i) + 1, count);
        cancelled = i + 1 < paths_.size() && progress->was_cancelled();
    }
    const QString unended = end_batch_journal(*journal);
    services_.set_busy(false);
    if (done > 0 && on_written_) on_written_(journal->path);
    const QString summary = (cancelled ? tr("已取消：") : QString()) +
                            tr("已转换 %n 个文件", nullptr, done) + to_qstring(failures, codec_) +
                            (unended.isEmpty() ? QString() : QLatin1Char('\n') + unended);
    services_.message_box(this, windowTitle(), summary,
                          !failures.empty() ? MessageIcon::error
                          : cancelled       ? MessageIcon::warning
                                            : MessageIcon::information,
                          MessageButtons::ok);
    accept();
}

void run_tag_fix(QWidget* parent, const std::vector<std::string>& fs_paths, UiServices& services,
                 const Codec& codec, bool add_v2_from_v1, TagBatchWritten on_written) {
    auto* dialog =
        new TagFixDialog(fs_paths, services, codec, add_v2_from_v1, parent, std::move(on_written));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

}  // namespace varnel
