// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The size and modification time of files, read once when they join the
// list so that showing or sorting them never asks the file system.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "platform/dir_handle.h"

namespace varnel {

// A value that could not be read.
inline constexpr std::int64_t unknown_fact = std::numeric_limits<std::int64_t>::min();

struct FileFacts {
    // Bytes; unknown_fact for a folder or an entry that could not be
    // examined (gone, no permission).
    std::int64_t size = unknown_fact;
    // Nanoseconds since 1970-01-01 00:00 UTC; unknown_fact when the entry
    // could not be examined.
    std::int64_t modified_ns = unknown_fact;
    // The local time's offset from UTC at modified_ns, in seconds, as the
    // time zone said when the facts were read: showing the local time
    // later needs no look-up of the zone.
    std::int32_t utc_offset_s = 0;
    friend bool operator==(const FileFacts&, const FileFacts&) = default;
};

// The entries of one folder, examined through one descriptor of it.
class FolderFacts {
public:
    // Opens `fs_folder` (file-system bytes, with or without a trailing '/')
    // as a path only, so a folder the user may search but not read works.
    // The local time zone is taken as it is now (TZ, /etc/localtime).
    explicit FolderFacts(const std::string& fs_folder);

    // The facts of entry `fs_name` of the folder, following a symbolic link
    // to what it names (as a file manager shows it); both unknown when the
    // folder could not be opened or the entry cannot be examined.
    [[nodiscard]] FileFacts of(const std::string& fs_name) const;

private:
    std::optional<DirHandle> folder_;
};

}  // namespace varnel
