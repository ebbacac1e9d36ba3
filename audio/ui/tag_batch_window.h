// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the windows 文件名转为标签 and 批量编辑标签 share: the files' tags read
// once when the window opens, the preview table (文件, 字段, 原文字, 新文字,
// 状态: one row per field that changes, one row for a file that changes
// nothing or cannot be edited), and 确定, which writes every file with
// changes through edit_tags_of_files with the batch's undo journal and
// then shows each file's outcome with its reason in 状态. 取消 (关闭 once
// written) closes the window.

#include <QDialog>
#include <QString>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "audio/batch_tag_edit.h"
#include "audio/tag_edit_preview.h"
#include "audio/ui/tag_batch_journal.h"
#include "platform/codec.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

namespace varnel {

class UiServices;

// The preview table's columns.
enum TagBatchColumn { file_column, field_column, before_column, after_column, state_column };

class TagBatchWindow : public QDialog {
    Q_OBJECT
public:
    // The outcome of each file after 确定 (in the order of the paths);
    // nullopt for a file that was not written to (nothing to change, or
    // 取消 in the progress window came first). Empty before 确定.
    const std::vector<std::optional<TagEditOutcome>>& outcomes() const { return outcomes_; }

    // The name of field `index` of TagEditRequest::fields for people
    // ("歌曲名", "艺术家", … "编码者").
    static QString field_name(std::size_t index);

protected:
    // Reads the tags of `fs_paths` (file-system bytes) with a progress
    // window; setup.on_written is told after 确定 wrote anything.
    TagBatchWindow(std::vector<std::string> fs_paths, TagBatchSetup setup, QWidget* parent);

    // What file `index` gets: a request, or nullopt with what 新文字 and
    // 状态 show instead (a name that does not match the template).
    struct FileRequest {
        std::optional<TagEditRequest> request;
        QString mark;  // 新文字 without a request
        QString why;   // 状态 without a request
    };
    [[nodiscard]] virtual FileRequest request_for(std::size_t index) const = 0;

    // The window's own controls go here, above the table.
    QVBoxLayout* controls() const { return controls_; }
    // Fills the table anew from request_for; call when the controls change.
    void refresh_table();

    const std::vector<std::string>& paths() const { return paths_; }
    const Codec& codec() const { return setup_.codec; }

private:
    void add_row(std::size_t file, const QString& field, const QString& before,
                 const QString& after, const QString& state);
    // Whether to write files whose tags hold frames that cannot be kept:
    // asked once (default No) when any file to be written has them.
    [[nodiscard]] bool may_drop_frames(const std::vector<std::size_t>& files);
    void write_all();
    // `journal_problem`: why the journal could not be ended, or empty.
    void show_outcomes(const QString& journal_problem);
    // The 状态 column's word for `status`.
    static QString status_text(TagEditStatus status);

    std::vector<std::string> paths_;
    TagBatchSetup setup_;
    UiServices& services_;
    const Codec& codec_;
    std::vector<FileTags> tags_;
    std::vector<std::optional<TagEditOutcome>> outcomes_;
    std::vector<std::size_t> row_files_;  // the file of each table row
    QVBoxLayout* controls_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* ok_button_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
};

}  // namespace varnel
