// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A store of INI files with the semantics of private-profile files:
//   [section]
//   key=value
// Section and key names match without regard to ASCII letter case; spaces and
// tabs around keys and values are ignored; a value enclosed in a pair of
// matching quotes is read without them. File contents are code-page bytes and
// are never converted; paths are file-system bytes.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"

namespace varnel {

// Values are read into a buffer of this many bytes, so a value is cut to
// one byte less (never in the middle of a two-byte character).
inline constexpr std::size_t profile_buffer_size = 10240;

// The value of `key` in `section` of the file at `path`, or
// `default_value` when the file, the section or the key is missing. The
// result is cut as above.
[[nodiscard]] std::string read_profile_string(const std::string& path, std::string_view section,
                                              std::string_view key, std::string_view default_value);

// Sets `key` in `section` to `value`, creating the file and the section when
// missing; every other line of the file is kept byte for byte. A new key is
// added after the last key line of its section; a new section at the end of
// the file. The file is replaced atomically. false when it cannot be written,
// or when the arguments would not read back as written (a line break
// anywhere, an empty key, a key holding '=' or starting with '[' or ';', a
// section holding ']').
[[nodiscard]] bool write_profile_string(const std::string& path, std::string_view section,
                                        std::string_view key, std::string_view value);

// One key to set.
struct ProfileEntry {
    std::string section;
    std::string key;
    std::string value;
};

// Sets every entry in order, each as write_profile_string would, in one
// atomic replacement of the file (see replace_file_atomically: a symbolic
// link at `path` is replaced, never written through). Nothing is written
// when any entry would not read back as written (EINVAL).
[[nodiscard]] WriteResult write_profile_strings(const std::string& path,
                                                const std::vector<ProfileEntry>& entries);

}  // namespace varnel
