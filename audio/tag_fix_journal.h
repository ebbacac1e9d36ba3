// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 标签转为Unicode with undo: each file's old ID3v2 tag recorded in a
// TagJournal, and synced, before the conversion writes the file.

#include "audio/tag_journal.h"
#include "id3/tag_fix.h"

namespace varnel {

class TagFixJournal final : public TagWriteObserver {
public:
    explicit TagFixJournal(TagJournal& journal) : journal_(journal) {}

    // Records the old tag and syncs the journal: one sync per file, as each
    // file's plan is only known once its interrupted edit is finished.
    [[nodiscard]] Status before_write(const std::string& path, ByteFile& file,
                                      std::uint64_t old_tag) override;
    // Records the file's state after the write. Undo still knows a file
    // whose state was not recorded by its audio, so a failure is not the
    // file's failure; the last one is kept for the caller to tell.
    void after_write(const std::string& path, ByteFile& file) override;

    // Ok, or the failure (see TagJournal) of the last state that could not
    // be recorded.
    [[nodiscard]] const Status& after_write_status() const { return after_write_status_; }

private:
    TagJournal& journal_;
    Status after_write_status_;
};

}  // namespace varnel
