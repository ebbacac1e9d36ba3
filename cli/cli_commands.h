// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands of varnel-cli. Each writes its report (UTF-8) to `out`,
// problems to `err`, and returns the exit status: 0 when every item
// succeeded, 1 when any failed, 2 for a usage error.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "audio/tag_journal.h"
#include "cli/cli_args.h"
#include "platform/codec.h"

namespace varnel::cli {

int run_preview(const Command& command, const Codec& codec, std::ostream& out);
int run_rename(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err);
int run_undo(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err);
int run_tag(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err);
int run_tags_from_names(const Command& command, const Codec& codec, std::ostream& out,
                        std::ostream& err);
int run_fix_tags(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err);
// A new journal of a tag batch at tag_journal_path(); nullopt, told on
// `err` with its reason and then `hint` (code page), when it cannot be made.
[[nodiscard]] std::optional<TagJournal> new_tag_journal(std::ostream& err,
                                                        const std::string& hint = {});

// Gathers the paths of the command line and of --files-from into `paths`;
// false, with a message on `err`, when the list cannot be read or there is
// no path at all.
bool command_paths(const Command& command, std::vector<std::string>& paths, std::ostream& err);

}  // namespace varnel::cli
