// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo journal of a tag batch a window runs (文件名转为标签, 批量编辑标签,
// 标签转为Unicode): made at tag_journal_path() before the first write; when
// it cannot be made the person decides whether to write without undo.

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "audio/tag_journal.h"
#include "id3/id3v2_builder.h"
#include "platform/codec.h"

class QWidget;

namespace varnel {

class UiServices;

// Told, after a window's batch wrote any file, where its undo journal is
// (file-system bytes; empty when the person chose to write without one).
using TagBatchWritten = std::function<void(const std::string& journal_path)>;

// What a window's tag batch works with.
struct TagBatchSetup {
    UiServices& services;
    const Codec& codec;
    V2TextEncoding v2_encoding = V2TextEncoding::code_page;  // ID3v2文字编码 of the settings
    TagBatchWritten on_written = {};                         // may be empty
};

struct BatchJournal {
    std::optional<TagJournal> journal;  // nullopt: the person chose to go on without undo
    std::string path;                   // where it is (file-system bytes); empty without one
};

// Starts the batch's journal. When it cannot be made, asks (title `title`,
// default No) whether to write without undo, naming the reason. nullopt
// when the answer is No: nothing may be written.
[[nodiscard]] std::optional<BatchJournal> start_batch_journal(QWidget* parent, UiServices& services,
                                                              const QString& title,
                                                              const Codec& codec);

// Ends the batch's journal (TagJournal::finish): its records and end line
// on the disk, so it is not taken for a batch that died. Empty, or why it
// could not be ended (for people); empty without a journal.
[[nodiscard]] QString end_batch_journal(BatchJournal& journal);

}  // namespace varnel
