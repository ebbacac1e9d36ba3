// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/temp_files.h"

namespace varnel {
namespace {

constexpr std::size_t max_name = 255;

std::string side_name(std::string_view name, std::string tail) {
    std::string result(1, '.');
    result.append(name.substr(0, max_name - 1 - tail.size())).append(tail);
    return result;
}

}  // namespace

std::string new_file_name(std::string_view name, std::uint64_t inode) {
    return side_name(name, ".varnel-new-" + std::to_string(inode));
}

std::string redo_file_name(std::string_view name, std::uint64_t inode) {
    return side_name(name, ".varnel-redo-" + std::to_string(inode));
}

std::string undo_file_name(std::string_view name, std::uint64_t inode) {
    return side_name(name, ".varnel-undo-" + std::to_string(inode));
}

bool is_stale_new_file(std::optional<std::int64_t> changed, std::int64_t edit_start) {
    return changed && *changed < edit_start;
}

}  // namespace varnel
