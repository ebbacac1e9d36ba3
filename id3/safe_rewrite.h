#pragma once
// Replacing the start of a file so that a crash or an error at any moment
// leaves either the old or the new file, never a mix.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/byte_file.h"

namespace varnel {

// Gives the regular file open as `file`, found at `path`, the content
// `head` followed by its bytes from offset `cut` on (from its end when
// `cut` lies beyond it).
//
// The new content goes to a temporary file in the folder of the file
// (temp_files.h; stale ones there are removed first), which is synced,
// given the file's owner, extended attributes and mode, and renamed over
// the file; then the folder is synced. A symbolic `path` is resolved and the
// file it leads to is replaced, in that file's folder. `file` must be the
// file at `path` (same device and inode), else nothing is done.
//
// true when done; `file` is then open (read and write, position 0) on the
// new file. false on any error before the rename: the file is untouched and
// no temporary file is left. false also when the rename succeeded but the
// folder could not be synced: the new content is in place, `file` open on
// it, but whether it survives a power loss is unknown.
bool replace_file_start(ByteFile& file, const std::string& path, std::uint64_t cut,
                        std::string_view head);

}  // namespace varnel
