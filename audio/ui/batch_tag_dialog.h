// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window 批量编辑标签: the twelve ID3 fields, each with a check box and
// a text box; an unchecked field is "保持不变" (kept as each file holds it),
// a checked one is given its box's text (empty: the field is cleared) in
// every file. MP3 files get all twelve, the other audio formats the first
// six (歌曲名 … 流派); the window says so. Typing into a box checks its box.

#include <array>
#include <string>
#include <vector>

#include "audio/ui/tag_batch_window.h"

class QCheckBox;
class QLineEdit;

namespace varnel {

class BatchTagDialog final : public TagBatchWindow {
    Q_OBJECT
public:
    // `fs_paths`: the audio files (file-system bytes).
    BatchTagDialog(std::vector<std::string> fs_paths, TagBatchSetup setup,
                   QWidget* parent = nullptr);

private:
    FileRequest request_for(std::size_t index) const override;

    std::array<QCheckBox*, 12> change_{};
    std::array<QLineEdit*, 12> text_{};
};

// Opens the window without blocking (it deletes itself when closed).
void run_batch_tag_edit(QWidget* parent, const std::vector<std::string>& fs_paths,
                        TagBatchSetup setup);

}  // namespace varnel
