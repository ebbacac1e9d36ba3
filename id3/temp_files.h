// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The side files a tag edit keeps beside file <name> in its folder:
//   .<name>.varnel-new-<inode>   the new file for the file <name> of that
//                                inode while it is written, where the file
//                                system has no nameless files, and for a
//                                moment before it takes the file's place;
//   .<name>.varnel-redo-<inode>  a finished new file still to be copied over
//                                the file <name> of that inode (a file with
//                                several hard links is edited in place);
//   .<name>.varnel-undo-<inode>  the old tag bytes of an in-place tag edit
//                                of that file that has not finished.
// <inode> is decimal. <name> is cut (bytewise) so that the side file's name
// stays within 255 bytes. Nothing else is ever removed by a tag edit.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

std::string new_file_name(std::string_view name, std::uint64_t inode);
std::string redo_file_name(std::string_view name, std::uint64_t inode);
std::string undo_file_name(std::string_view name, std::uint64_t inode);

// Whether a leftover .<name>.varnel-new-<inode> may be removed by an edit that
// started at `edit_start`: only a regular file (`changed` is its change
// time, nullopt for anything else) changed before that start. The edit holds
// the file's lock, so the leftover belongs to no running edit.
bool is_stale_new_file(std::optional<std::int64_t> changed, std::int64_t edit_start);

}  // namespace varnel
