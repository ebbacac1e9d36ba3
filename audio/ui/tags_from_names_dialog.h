// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window 文件名转为标签: the template field (placeholders #1 艺术家 …
// #6 流派, as page MP3标签 uses them; the text between them separates the
// fields) with its reference text, and the preview of what the names give
// each file's tag (tags_from_name); a name that does not match the
// template changes nothing and is marked "文件名与模板不符".

#include <string>
#include <vector>

#include "audio/ui/tag_batch_window.h"

class QLabel;
class QLineEdit;

namespace varnel {

class TagsFromNamesDialog final : public TagBatchWindow {
    Q_OBJECT
public:
    // `fs_paths`: the audio files (file-system bytes); `tag_template` the
    // field's first text (code page).
    TagsFromNamesDialog(std::vector<std::string> fs_paths, TagBatchSetup setup,
                        const std::string& tag_template, QWidget* parent = nullptr);

private:
    FileRequest request_for(std::size_t index) const override;
    void template_changed();

    std::string template_;  // code page
    QLineEdit* template_edit_ = nullptr;
    QLabel* reference_ = nullptr;
};

// Opens the window without blocking (it deletes itself when closed).
void run_tags_from_names(QWidget* parent, const std::vector<std::string>& fs_paths,
                         TagBatchSetup setup, const std::string& tag_template);

}  // namespace varnel
