// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a new ID3v2.3 tag at the start of an MP3 file, removing the tag,
// and the in-place edits of the fixed layout.
//
// The new tag keeps what the record does not change (id3v2_builder.h).
// When it fits in the space of the old tag (header, frames and padding) it
// is written there in place, its padding filling the rest of that space;
// otherwise, and for a file without a tag, the whole file is rewritten with
// the tag's 877 bytes of padding. Both ways are crash-safe (safe_rewrite.h):
// a crash or kill leaves the old file, the new one, or one that the next
// tag edit of that file (or recover_file_edit) completes.

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "id3/id3v2_builder.h"
#include "id3/safe_rewrite.h"
#include "id3/tag_extent.h"
#include "id3/tag_fields.h"
#include "platform/byte_file.h"
#include "platform/codec.h"

namespace varnel {

// The outcome of a tag write or removal.
struct TagEditResult {
    bool ok = false;
    // When not ok: what stopped it. Its number: the errno value of the
    // failing call (or one of the two below), or 0 when frames stopped the
    // write. Its context: empty for the edit's own steps, or for people
    // (code page) what else failed (an undo journal's record).
    SystemError error;
    // Frames of the old tag without a safe version 2.3 form: they stopped
    // the write (not ok, error 0), or were left out (drop_unconvertible).
    std::vector<std::string> unconvertible;
};

// The result of an edit stopped by `error` in one of its own steps: the
// errno value alone, the context left empty.
[[nodiscard]] inline TagEditResult failed_edit(const SystemError& error) {
    return TagEditResult{false, SystemError{error.number, {}}, {}};
}

// The bytes of a tag written anew from `fields` alone: header, the twelve
// frames (TRCK, TENC, WXXX, TCOP, TOPE, TCOM, COMM, TCON, TYER, TALB, TPE1,
// TIT2) with encoding 0x00 and the texts as they are, then 877 bytes of
// padding: 1024 bytes plus the texts. Empty when the texts together exceed
// 2^28 - 1 - 1014 bytes, which the tag's syncsafe size cannot express.
[[nodiscard]] std::string build_id3v2_tag(const TagFields& fields);

// Errors of a tag edit besides the system's (TagEditResult::error):
// where the tag ends is unknown (tag_extent.h), or a version 2.4 tag's frame
// sizes read cleanly neither way (id3v2_walk.h). Nothing is changed then.
inline constexpr int tag_end_unknown = EUCLEAN;
inline constexpr int frame_sizes_unclear = EBADMSG;

// The reason for a tag edit's error number in words: the two above, else
// the system's text.
[[nodiscard]] std::string tag_edit_error_text(int error);
// The same preceded by the error's context and ": " when it has one.
[[nodiscard]] std::string tag_edit_error_text(const SystemError& error);

// The ids of the frames of the file's tag that a write would have to leave
// out (empty when there are none, or no tag).
[[nodiscard]] std::vector<std::string> unconvertible_frames(ByteFile& file);

// Replaces the file's ID3v2 tag (or puts one in front of a file without),
// keeping the frames the record does not change. Refused (nothing written)
// with error tag_end_unknown or frame_sizes_unclear. `file` is the file at
// `path`, open for reading and writing; afterwards it is open on the new
// file. Not ok when frames cannot be carried and options do not allow to
// drop them (nothing written), or on any error; the file is then unchanged.
[[nodiscard]] TagEditResult write_id3v2_tag(ByteFile& file, const std::string& path,
                                            const TagFields& fields, const V2WriteOptions& options,
                                            const Codec& codec);

// The file's ID3v2 tag as an edit may replace it (length 0 for none); the
// error tag_end_unknown where its end is unknown, frame_sizes_unclear where
// `keep_frames` and its frames cannot be told apart, or the read error.
[[nodiscard]] Result<TagExtent> editable_id3v2_tag(ByteFile& file, bool keep_frames);

// The start of the file that gives it a version 2.3 tag of the frame area
// `frames` in place of the tag `extent`, as write_id3v2_frames writes it;
// EFBIG when the tag would exceed 2^28 - 1 bytes.
[[nodiscard]] Result<FileEdit> id3v2_head(const TagExtent& extent, std::string_view frames);

// Gives the file a version 2.3 tag of the frame area `frames` (frames
// without header and padding): in place of the old tag where it fits, its
// padding filling the space, else by the whole-file rewrite with 877 bytes
// of padding. The caller has finished any interrupted edit. Not ok with
// error EFBIG when the tag would exceed 2^28 - 1 bytes.
[[nodiscard]] TagEditResult write_id3v2_frames(ByteFile& file, const std::string& path,
                                               std::string_view frames);

// The same with code-page texts, dropping no frame; true when written.
[[nodiscard]] bool write_id3v2_tag(ByteFile& file, const std::string& path,
                                   const TagFields& fields);

// Cuts the ID3v2 tag off the file (whole-file rewrite), up to its mended
// end where the size is damaged; ok without a change when there is none.
// Refused with error tag_end_unknown.
[[nodiscard]] TagEditResult remove_id3v2_tag(ByteFile& file, const std::string& path);

// In-place edits, moving the rest of the file through a 4096-byte buffer:
// remove `count` bytes at `position` (fewer where the file ends first;
// nothing when `position` is at or past the end), or insert `bytes` there
// (a position past the end leaves a hole of zero bytes). Positioned reads
// and writes: the file position never moves. On an error the bytes moved
// so far stay moved (EIO when the file ends early).
[[nodiscard]] Status delete_bytes(ByteFile& file, std::uint64_t position, std::uint64_t count);
[[nodiscard]] Status insert_bytes(ByteFile& file, std::uint64_t position, std::string_view bytes);

}  // namespace varnel
