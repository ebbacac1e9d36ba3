// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fuzz input as a file: one memory file (memfd) serves a whole run and
// each input refills it.

#include <sys/mman.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_file.h"

namespace varnel::fuzz {

// The memory file holding `bytes`, opened for reading and writing.
inline std::optional<ByteFile> file_holding(std::string_view bytes) {
    static const int memory = memfd_create("varnel-fuzz", MFD_CLOEXEC);
    if (memory < 0 || ftruncate(memory, 0) != 0) return std::nullopt;
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t count =
            pwrite(memory, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (count <= 0) return std::nullopt;
        done += static_cast<std::size_t>(count);
    }
    return ByteFile::open_read_write("/proc/self/fd/" + std::to_string(memory));
}

}  // namespace varnel::fuzz
