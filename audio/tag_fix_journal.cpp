// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/tag_fix_journal.h"

#include <optional>

namespace varnel {

Status TagFixJournal::before_write(const std::string& path, ByteFile& file, std::uint64_t old_tag) {
    if (const int error = journal_.record(path, file, old_tag, 0, std::nullopt, 0); error != 0)
        return SystemError{error, {}};
    if (const int error = journal_.sync(); error != 0) return SystemError{error, {}};
    return {};
}

void TagFixJournal::after_write(const std::string& path, ByteFile& file) {
    if (const int error = journal_.record_written(path, file); error != 0)
        after_write_error_ = error;
}

}  // namespace varnel
