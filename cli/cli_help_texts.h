// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Chinese parts of varnel-cli's help (UTF-8), twins of the English
// ones in cli_help.cpp; for help_text alone.

namespace varnel::cli::help_zh {

extern const char* const rule;
extern const char* const fix_names;
extern const char* const undo;
extern const char* const tag;
extern const char* const fix_tags;
extern const char* const tags_from_names;
extern const char* const status;

}  // namespace varnel::cli::help_zh
