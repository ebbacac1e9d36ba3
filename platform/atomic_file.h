// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a whole small file so that a crash, a full disk or a symbolic link
// never leaves a damaged or a wrong file.

#include <string>
#include <string_view>

#include "platform/error_text.h"

namespace varnel {

// The outcome of a write: 0, or the errno value that stopped it.
struct WriteResult {
    int error = 0;
    explicit operator bool() const { return error == 0; }
};

// Replaces the file at `path` (file-system bytes) by `content`: the bytes go
// to a new file beside it, are synced, and the new file is renamed over the
// old one, so that `path` always holds either the old or the whole new
// content. A symbolic link at `path` is replaced by the file itself: its
// target is never written. A regular file keeps its permission bits; a new
// one gets 0666 less the umask. No temporary file is left behind on failure.
[[nodiscard]] WriteResult replace_file_atomically(const std::string& path,
                                                  std::string_view content);

}  // namespace varnel
