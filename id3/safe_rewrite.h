// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replacing the start of a file so that a crash, a kill or an error at any
// moment leaves the old or the new file, or a file that the next edit (or
// recover_file_edit) turns into the new one. Side files: temp_files.h.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/byte_file.h"

namespace varnel {

// True when `path`, symbolic links followed, names a file whose name ends
// in ".mp3" (any case): tags are written only there, never through a link
// into some other kind of file. false with errno set (EINVAL for another
// name).
bool leads_to_mp3_name(const std::string& path);

// The content of a .varnel-undo record: the `old_bytes` at the file's
// start and a hash that tells whether `new_bytes` are all in place.
std::string undo_record(std::string_view old_bytes, std::string_view new_bytes);

// Finishes an edit of the regular file open as `file` (found at `path`,
// symbolic links followed) that was interrupted: a finished new file
// (.varnel-redo) is copied over it, the old tag bytes of an in-place edit
// (.varnel-undo) are put back unless the new ones are all there. true when
// nothing was pending or it was finished; false with errno set otherwise.
bool recover_file_edit(ByteFile& file, const std::string& path);

// Gives the file the content `head` followed by its bytes from offset
// `cut` on (from its end when `cut` lies beyond it).
// The new content is written to a new file in the folder of the file
// (nameless where the file system allows), synced and given the file's
// owner, extended attributes and mode. A file with one link: the new file
// takes its place by a rename and the folder is synced; `file` is then open
// on it. A file with several hard links: the new file is named
// .varnel-redo, then copied over the file in place and synced, then
// removed, so that every name sees the change.
// Takes the file's lock, finishes an interrupted edit first and removes
// only the file's own stale .varnel-new-<inode>. `file` must be the file at `path`
// (same device and inode), else nothing is done (ESTALE). false with errno
// set on any error; the file is then unchanged (or, after a failed folder
// sync, new).
bool replace_file_start(ByteFile& file, const std::string& path, std::uint64_t cut,
                        std::string_view head);

// Writes `bytes` over the first bytes of the file in place (the file's
// length stays), crash-safe: the old value of the run of changed bytes
// first goes to the file's extended attribute user.varnel.undo (when the
// record stays within 4,000 bytes and the file system takes it; the file
// is synced), else all old bytes to a .varnel-undo side file, named and
// synced; the record is removed once the new bytes are synced. Nothing is
// written when the bytes are there already. Same lock, recovery, checks and
// errors as replace_file_start. recover_file_edit puts back the old bytes
// of either record unless the new ones are all there.
bool overwrite_file_start(ByteFile& file, const std::string& path, std::string_view bytes);

}  // namespace varnel
