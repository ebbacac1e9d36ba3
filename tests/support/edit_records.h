// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Records of interrupted in-place tag edits, as a killed edit leaves them,
// for the tests of recovery.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "id3/edit_record.h"
#include "platform/byte_file.h"
#include "platform/recovery_folder.h"

namespace varnel::test {

// The identity of the file at `path` (device, inode, birth time).
inline FileId identity_of(const std::string& path) {
    std::optional<ByteFile> file = ByteFile::open_read(path);
    std::optional<FileId> id = file ? file_id_of(file->fd()) : std::nullopt;
    FileId kept;
    if (!id) return kept;
    kept.device = id->device;
    kept.inode = id->inode;
    kept.has_birth = id->has_birth;
    kept.birth_sec = id->birth_sec;
    kept.birth_nsec = id->birth_nsec;
    return kept;
}

// The record of an in-place edit of the file `id`, whose content before it
// was `old_file`, that changes `regions` and the length to `new_length`.
inline EditRecord patch_record(const FileId& id, std::string_view old_file,
                               std::vector<RecordRegion> regions, std::uint64_t new_length) {
    EditRecord record;
    record.file = id;
    record.old_length = old_file.size();
    record.new_length = new_length;
    record.regions = std::move(regions);
    Sha256 outside;
    for (const auto& [offset, length] :
         outside_pieces(record.regions, std::min<std::uint64_t>(old_file.size(), new_length)))
        outside.update(old_file.substr(offset, length));
    record.outside = outside.finish();
    return record;
}

// Puts `record` for its file into the private folder of the state folder
// that XDG_STATE_HOME names; false when that fails.
inline bool put_record(const EditRecord& record) {
    std::optional<RecoveryFolder> folder = RecoveryFolder::open(true);
    return folder && folder->write(record_name(record.file), encode_record(record));
}

}  // namespace varnel::test
