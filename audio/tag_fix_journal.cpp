// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/tag_fix_journal.h"

#include <optional>

namespace varnel {

Status TagFixJournal::before_write(const std::string& path, ByteFile& file, std::uint64_t old_tag) {
    if (Status recorded = journal_.record(path, file, old_tag, 0, std::nullopt, 0); !recorded)
        return recorded;
    return journal_.sync();
}

void TagFixJournal::after_write(const std::string& path, ByteFile& file) {
    if (Status recorded = journal_.record_written(path, file); !recorded)
        after_write_status_ = std::move(recorded);
}

}  // namespace varnel
