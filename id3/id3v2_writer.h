#pragma once
// Writing a new ID3v2.3 tag at the start of an MP3 file, removing the tag,
// and the file edits both need.
//
// A rewrite never leaves a half-written file: the new file (new tag, then
// the old file after the old tag) is written to a temporary file in the
// same folder, synced, given the original's mode (owner and extended
// attributes where permitted) and put in its place atomically. A symbolic
// link stays a link (the file it points to is replaced). A file with several
// hard links is edited in place, so that every name sees the change; that
// edit is not crash-safe.
// Temporary files are named ".<name>.varnel-tmp-<pid>-XXXXXX"; those a
// killed process left behind are removed the next time that folder is
// written (temp_files.h).

#include <cstdint>
#include <string>
#include <string_view>

#include "id3/tag_fields.h"
#include "platform/byte_file.h"

namespace varnel {

// The bytes of the new tag: header, the twelve frames (TRCK, TENC, WXXX,
// TCOP, TOPE, TCOM, COMM, TCON, TYER, TALB, TPE1, TIT2) with encoding 0x00
// and the texts as they are, then 877 bytes of padding: 1024 bytes plus the
// texts. Empty when the texts together exceed 2^28 - 1 - 1014 bytes, which
// the tag's syncsafe size cannot express.
std::string build_id3v2_tag(const TagFields& fields);

// Replaces the file's ID3v2 tag (or puts one in front of a file without)
// by build_id3v2_tag(fields): the new file is that tag followed by the old
// file after its old tag (id3v2_tag_length bytes, or the whole file when it
// is shorter). `file` is the file at `path`, open for reading and writing;
// afterwards it is open on the new file. false on any error (texts too long
// included); the file is then unchanged, except when only the final sync
// of the folder failed, after the new file took the old one's place.
bool write_id3v2_tag(ByteFile& file, const std::string& path, const TagFields& fields);

// Cuts the ID3v2 tag off the file, as write_id3v2_tag replaces it; true
// without a change when there is none.
bool remove_id3v2_tag(ByteFile& file, const std::string& path);

// In-place edits, moving the rest of the file through a 4096-byte buffer:
// remove `count` bytes at `position` (fewer where the file ends first;
// nothing when `position` is at or past the end), or insert `bytes` there
// (a position past the end leaves a hole of zero bytes). Positioned reads
// and writes: the file position never moves. false on error, with the
// bytes moved so far left moved.
bool delete_bytes(ByteFile& file, std::uint64_t position, std::uint64_t count);
bool insert_bytes(ByteFile& file, std::uint64_t position, std::string_view bytes);

}  // namespace varnel
