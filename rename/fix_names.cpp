// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/fix_names.h"

#include "rename/batch_rows.h"

namespace varnel {

BatchOutcome respell_names_in_utf8(FileList& list, std::span<const int> rows, UndoLog& log,
                                   const Codec& codec, const BatchHooks& hooks) {
    const FileList::ChangeBatch batch(list);
    log.entries.clear();
    for (const int row : rows) {
        const auto r = static_cast<std::size_t>(row);
        list.new_names()[r] = list.old_names()[r];
    }
    const auto target_of = [&](int row) -> std::optional<std::string> {
        const std::string& fs = list.fs_name(row);
        if (is_valid_utf8(fs)) return fs;
        return codec.to_utf8(fs);
    };
    return batch::rename_in_order(list, rows, target_of, log, codec, hooks);
}

}  // namespace varnel
