// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window 标签转为Unicode: what the conversion (id3/tag_fix.h) will do to
// the tags of the chosen MP3 files, one table row per text that changes
// (files that need nothing, or cannot be read, one row each); the check box
// 为只有ID3v1标签的文件添加ID3v2标签 plans anew with or without that; 确定 writes
// the conversion file by file, each file's old tag first recorded in the
// batch's undo journal, and reports the outcome through UiServices; 取消
// closes without writing.

#include <QDialog>
#include <string>
#include <vector>

#include "audio/ui/tag_batch_journal.h"
#include "id3/tag_fix.h"
#include "platform/codec.h"

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace varnel {

class UiServices;

class TagFixDialog final : public QDialog {
    Q_OBJECT
public:
    // `fs_paths`: the files (file-system bytes); `add_v2_from_v1` the check
    // box's first state; `on_written` (may be empty) is told after 确定
    // wrote anything. The preview is made here.
    TagFixDialog(std::vector<std::string> fs_paths, UiServices& services, const Codec& codec,
                 bool add_v2_from_v1, QWidget* parent = nullptr, TagBatchWritten on_written = {});

    // The outcome of each file after 确定 (in the order of the paths);
    // empty before.
    const std::vector<TagFileFix>& written() const { return written_; }

private:
    void fill_table();
    void add_row(const std::string& path, const std::string& status, const TagTextChange* change,
                 std::string_view what);
    void write_all();

    std::vector<std::string> paths_;
    UiServices& services_;
    const Codec& codec_;
    bool add_v2_from_v1_;
    TagBatchWritten on_written_;
    std::vector<TagFileFix> planned_;
    std::vector<TagFileFix> written_;
    QCheckBox* add_v2_box_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPushButton* ok_button_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
};

// Opens the window for `fs_paths` without blocking (it deletes itself when
// closed); the context menu's 标签转为Unicode.
void run_tag_fix(QWidget* parent, const std::vector<std::string>& fs_paths, UiServices& services,
                 const Codec& codec, bool add_v2_from_v1, TagBatchWritten on_written = {});

}  // namespace varnel
