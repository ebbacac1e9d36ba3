#pragma once
// Copying a file's bytes and its metadata to another open file.

#include <sys/stat.h>

#include <cstdint>

namespace varnel {

// Copies the bytes of `from` from `offset` to its end into `to`, starting at
// `to_offset`, in the kernel where it can (copy_file_range, 8 MiB at a
// time) and otherwise through a 1 MiB buffer, starting the writeback of
// each piece as soon as it is copied. Neither file position moves. false
// on any error (disk full included).
bool copy_to_end(int from, std::uint64_t offset, int to, std::uint64_t to_offset);

// Gives `to` the owner and group of `original` where permitted (EPERM is
// ignored), the extended attributes of `from` where the file systems and
// permissions allow (ENOTSUP, EPERM and EACCES are ignored), then the
// permission bits of `original` (set-id and sticky bits included). false on
// any other error.
bool copy_metadata(int from, const struct stat& original, int to);

}  // namespace varnel
