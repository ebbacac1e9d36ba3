// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// New values of the six common fields of a file of the other audio
// formats, made by TagLib on a copy of the file in memory and handed back
// as a FileEdit, so that the file itself changes in one crash-safe step
// (commit_file_edit) rather than by TagLib writing into it in place.

#include <array>
#include <optional>
#include <string>

#include "id3/safe_rewrite.h"
#include "platform/byte_file.h"
#include "platform/codec.h"

namespace varnel {

// The six common fields in the order artist, title, album, track, year,
// genre: nullopt keeps a field (保持不变); a text (code page) replaces it,
// the empty text removes it.
using CommonEdits = std::array<std::optional<std::string>, 6>;

struct PlannedEdit {
    std::optional<FileEdit> edit;  // nullopt: the file stays as it is
    std::string reason;            // why not, when `edit` is nullopt and it should have changed
};

// The edit that gives the file at `path` (open as `file`; format by the
// extension of `path`) the `edits`. A file whose tag TagLib would not
// change gives no edit and no reason. Reasons: a format TagLib cannot
// write (DSF), a file TagLib cannot read as its format, a text that is not
// valid code-page text, a failed read.
[[nodiscard]] PlannedEdit plan_common_tag_edit(ByteFile& file, const std::string& path,
                                               const CommonEdits& edits, const Codec& codec);

}  // namespace varnel
