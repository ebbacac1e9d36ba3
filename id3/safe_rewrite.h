// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Changing a file so that a crash, a kill or an error at any moment leaves
// the old file, the new one, or one that the next edit of that file by the
// same user finishes.
//
// Every edit in progress has a record in the user's private folder
// (platform/recovery_folder.h, format in edit_record.h), named after the
// file's identity (device and inode), never beside the file: every hard
// link of the file finds it, and nobody else can plant or change one; a
// small in-place edit keeps it in the file's attribute user.varnel.undo
// instead, bound in the same way (a copied or planted one is inert). A
// record is applied only to the file it was made for (same device, inode
// and birth time) while the bytes it changes still hold the old bytes, the
// new ones, or a mix of exactly those two; anything else means another
// program changed the file, and the record is dropped.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_file.h"

namespace varnel {

// How long an edit waits for another edit of the same file to end.
inline constexpr int edit_lock_wait_ms = 10000;

// Ok when `path`, symbolic links followed, names a file whose name ends in
// ".mp3" (any case): tags are written only there, never through a link
// into some other kind of file. EINVAL for another name.
[[nodiscard]] Status leads_to_mp3_name(const std::string& path);

// What recover_file_edit found of an earlier edit of the file.
enum class Recovery {
    nothing,    // no record, or one cut short before the file was touched
    finished,   // the interrupted edit was completed
    discarded,  // the file was changed by another program: record dropped
};

// Takes the file's lock (waiting for another edit up to edit_lock_wait_ms;
// then EWOULDBLOCK) and finishes an interrupted edit of the file. `file` is
// the file at `path` (symbolic links followed), open for reading and
// writing; when another edit replaced the file while this one waited,
// `file` is opened anew on the file the path now leads to.
[[nodiscard]] Result<Recovery> recover_file_edit(ByteFile& file, const std::string& path);

// True when the open file has the record of an unfinished edit. Reads only.
[[nodiscard]] bool has_unfinished_edit(const ByteFile& file);

// The new content of a file: `head` in place of its bytes [0, cut) and
// `tail` in place of its bytes [tail_from, end), the bytes between kept.
struct FileEdit {
    std::uint64_t cut = 0;
    std::string head;
    std::optional<std::uint64_t> tail_from;  // none: the end of the file
    std::string tail;
};

// Gives the file at `path`, open as `file`, the content `edit` describes,
// as one crash-safe step. The head and tail are written in place when the
// head takes the place of as many bytes (the changed bytes first go to the
// record: in the file's attribute when it takes the record, up to 4,000
// bytes, else in the private folder). Otherwise a new file is written: for a file with one link in
// its folder (nameless where the file system allows) and renamed over it,
// `file` then being open on it; for a file with several hard links in the
// private folder, and copied over the file in place, so that every name
// sees the change. Takes the lock and finishes an interrupted edit first.
// `file` must be the file at `path`, else nothing is done (ESTALE). On
// any error the file is unchanged (or, after a failed folder sync, new; or,
// after a failed copy over a linked file, finished by the next edit).
[[nodiscard]] Status commit_file_edit(ByteFile& file, const std::string& path,
                                      const FileEdit& edit);

}  // namespace varnel
