#pragma once
// The temporary files of a tag rewrite. For the file <name> the temporary
// file is ".<name>.varnel-tmp-<pid>-XXXXXX" in the same folder: <pid> is the
// decimal id of the writing process and XXXXXX six letters or digits that
// mkostemp chooses. <name> is cut (bytewise) so that the whole name stays
// within 255 bytes.
//
// A temporary file is stale when its process no longer exists (killed in
// the middle of a rewrite), or when its content has not changed for an hour
// (its pid now belongs to another process). A live writer on another machine or in
// another pid namespace sharing the folder may see its temporary file
// removed; its rename then fails and it reports failure, its original
// untouched.

#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace varnel {

// The template mkostemp fills in for file `name` written by process `pid`.
std::string temp_name_template(std::string_view name, pid_t pid);

// The pid in a temporary file's name; nullopt when `name` is not one.
std::optional<pid_t> temp_name_pid(std::string_view name);

// Removes the stale temporary files (regular files only) from the folder
// open as `folder_fd`. Best effort: errors are ignored.
void remove_stale_temps(int folder_fd);

}  // namespace varnel
