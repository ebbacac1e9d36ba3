// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/ui/tag_batch_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "audio/ui/preview_table.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/screen_room.h"
#include "platform/ui/ui_services.h"

namespace varnel {

namespace {

// Files written between two looks at the progress window's 取消: the
// journal is synced once for each such group (see edit_tags_of_files).
constexpr std::size_t files_per_step = 64;

bool same_request(const TagEditRequest& a, const TagEditRequest& b) {
    return a.fields == b.fields && a.drop_unkeepable_frames == b.drop_unkeepable_frames;
}

}  // namespace

QString TagBatchWindow::field_name(std::size_t index) {
    static const std::array<const char*, 12> names = {
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "歌曲名"),
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "艺术家"),
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "专辑"),
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "音轨"),
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "年代"),
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "流派"),
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "注释"),
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "作曲家"),
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "原创者"),
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "版权"),
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "URL"),
        QT_TRANSLATE_NOOP("varnel::TagBatchWindow", "编码者")};
    return tr(names.at(index));
}

TagBatchWindow::TagBatchWindow(std::vector<std::string> fs_paths, TagBatchSetup setup,
                               QWidget* parent)
    : QDialog(parent),
      paths_(std::move(fs_paths)),
      setup_(std::move(setup)),
      services_(setup_.services),
      codec_(setup_.codec) {
    resize(fitted_to_screen(*this, QSize(760, 480)));  // the table scrolls on a small screen
    table_ = new_preview_table(this, QStringLiteral("标签预览表"),
                               {tr("文件"), tr("字段"), tr("原文字"), tr("新文字"), tr("状态")});
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("结果标签"));
    summary_->setWordWrap(true);
    const OkCancel ok_cancel = new_ok_cancel(this);
    ok_button_ = ok_cancel.ok;
    cancel_button_ = ok_cancel.cancel;
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary_, 1);
    buttons->addWidget(ok_button_);
    buttons->addWidget(cancel_button_);
    controls_ = new QVBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls_);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    connect(ok_button_, &QPushButton::clicked, this, &TagBatchWindow::write_all);
    connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);

    // Read once: the controls' edits only recompute the table.
    const BusyCursor busy(services_);
    const std::unique_ptr<ProgressWindow> progress = services_.progress(this, tr("正在读取标签……"));
    tags_.reserve(paths_.size());
    for (const std::string& path : paths_) {
        tags_.push_back(read_file_tags(path, codec_));
        progress->set_value(static_cast<int>(tags_.size()), static_cast<int>(paths_.size()));
    }
}

void TagBatchWindow::add_row(std::size_t file, const QString& field, const QString& before,
                             const QString& after, const QString& state) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    row_files_.push_back(file);
    const std::string shown = codec_.text_from_fs(paths_[file]);
    auto* name = new QTableWidgetItem(to_qstring(shown.substr(shown.rfind('/') + 1), codec_));
    name->setToolTip(to_qstring(shown, codec_));
    table_->setItem(row, file_column, name);
    table_->setItem(row, field_column, new QTableWidgetItem(field));
    table_->setItem(row, before_column, new QTableWidgetItem(before));
    table_->setItem(row, after_column, new QTableWidgetItem(after));
    table_->setItem(row, state_column, new QTableWidgetItem(state));
}

void TagBatchWindow::refresh_table() {
    if (!outcomes_.empty()) return;  // the table shows what was written
    table_->setUpdatesEnabled(false);
    table_->setRowCount(0);
    row_files_.clear();
    bool any = false;
    for (std::size_t file = 0; file < paths_.size(); ++file) {
        const FileTags& tags = tags_[file];
        if (!tags.reason.empty()) {
            add_row(file, {}, {}, {}, tr("无法读取 (%1)").arg(to_qstring(tags.reason, codec_)));
            continue;
        }
        const FileRequest wanted = request_for(file);
        if (!wanted.request) {
            add_row(file, QStringLiteral("—"), {}, wanted.mark, wanted.why);
            continue;
        }
        const std::vector<FieldChange> changes = field_changes(tags, *wanted.request);
        if (changes.empty()) add_row(file, {}, {}, {}, tr("无需改动"));
        for (const FieldChange& change : changes)
            add_row(file, field_name(change.field), to_qstring(change.before, codec_),
                    to_qstring(change.after, codec_), tr("将写入"));
        any = any || !changes.empty();
    }
    table_->resizeColumnsToContents();
    table_->setUpdatesEnabled(true);
    ok_button_->setEnabled(any);
}

bool TagBatchWindow::may_drop_frames(const std::vector<std::size_t>& files) {
    std::vector<std::string> ids;
    int count = 0;
    for (const std::size_t file : files) {
        const std::vector<std::string>& frames = tags_[file].unkeepable;
        count += frames.empty() ? 0 : 1;
        for (const std::string& id : frames)
            if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    }
    if (ids.empty()) return false;
    QString list;
    for (const std::string& id : ids) list += QLatin1Char(' ') + QString::fromLatin1(id.c_str());
    const QString question =
        tr("%n 个文件的ID3v2标签中有无法保留的帧：%1\n写入将删除这些帧。是否继续？"
           "（否：这些文件不写入）",
           nullptr, count)
            .arg(list);
    return services_.message_box(this, windowTitle(), question, MessageIcon::question,
                                 MessageButtons::yes_no_default_no) == MessageAnswer::yes;
}

// Consecutive files with the same request are written together, as many
// as files_per_step; 取消 in the progress window stops after a group.
void TagBatchWindow::write_all() {
    std::vector<std::size_t> files;  // the files with changes, each with its request
    std::vector<TagEditRequest> requests;
    for (std::size_t file = 0; file < paths_.size(); ++file) {
        if (!tags_[file].reason.empty()) continue;
        FileRequest wanted = request_for(file);
        if (!wanted.request || field_changes(tags_[file], *wanted.request).empty()) continue;
        files.push_back(file);
        requests.push_back(std::move(*wanted.request));
    }
    if (files.empty()) return;
    const bool drop = may_drop_frames(files);
    std::optional<BatchJournal> journal =
        start_batch_journal(this, services_, windowTitle(), codec_);
    if (!journal) return;
    outcomes_.assign(paths_.size(), std::nullopt);
    const BusyCursor busy(services_);
    const std::unique_ptr<ProgressWindow> progress = services_.progress(this, tr("正在写入标签……"));
    TagJournal* recorder = journal->journal ? &*journal->journal : nullptr;
    bool wrote = false;
    for (std::size_t first = 0; first < files.size();) {
        std::size_t end = first + 1;
        while (end < files.size() && end - first < files_per_step &&
               same_request(requests[end], requests[first]))
            ++end;
        TagEditRequest request = requests[first];
        request.drop_unkeepable_frames = drop;
        request.v2_encoding = setup_.v2_encoding;
        std::vector<std::string> group;
        for (std::size_t i = first; i < end; ++i) group.push_back(paths_[files[i]]);
        const std::vector<TagEditOutcome> done =
            edit_tags_of_files(group, request, codec_, recorder);
        for (std::size_t i = first; i < end; ++i) {
            outcomes_[files[i]] = done[i - first];
            wrote = wrote || done[i - first].status == TagEditStatus::written;
        }
        first = end;
        progress->set_value(static_cast<int>(first), static_cast<int>(files.size()));
        if (first < files.size() && progress->was_cancelled()) break;
    }
    show_outcomes(end_batch_journal(*journal));
    if (wrote && setup_.on_written) setup_.on_written(journal->path);
}

QString TagBatchWindow::status_text(TagEditStatus status) {
    switch (status) {
        case TagEditStatus::written:
            return tr("已写入");
        case TagEditStatus::unchanged:
            return tr("无需改动");
        case TagEditStatus::refused:
            return tr("未写入");
        case TagEditStatus::failed:
            return tr("写入失败");
    }
    return {};
}

// Each file's rows tell its outcome; the summary counts them.
void TagBatchWindow::show_outcomes(const QString& journal_problem) {
    int written = 0;
    int failed = 0;
    for (int row = 0; row < table_->rowCount(); ++row) {
        const std::optional<TagEditOutcome>& outcome =
            outcomes_[row_files_[static_cast<std::size_t>(row)]];
        QTableWidgetItem* state = table_->item(row, state_column);
        if (!outcome) {
            if (state->text() == tr("将写入")) state->setText(tr("未写入 (已取消)"));
            continue;
        }
        QString text = status_text(outcome->status);
        if (!outcome->reason.empty())
            text += QStringLiteral(" (") + to_qstring(outcome->reason, codec_) + QLatin1Char(')');
        state->setText(text);
    }
    for (const std::optional<TagEditOutcome>& outcome : outcomes_) {
        if (!outcome) continue;
        written += outcome->status == TagEditStatus::written ? 1 : 0;
        failed +=
            outcome->status == TagEditStatus::refused || outcome->status == TagEditStatus::failed
                ? 1
                : 0;
    }
    table_->resizeColumnToContents(state_column);
    summary_->setText(
        tr("已写入 %n 个文件", nullptr, written) +
        (failed > 0 ? tr("，%n 个文件未能写入", nullptr, failed) : QString()) +
        (journal_problem.isEmpty() ? QString() : QLatin1Char('\n') + journal_problem));
    ok_button_->setEnabled(false);
    cancel_button_->setText(tr("关闭"));
}

}  // namespace varnel
