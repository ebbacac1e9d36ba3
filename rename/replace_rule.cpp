// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/replace_rule.h"

#include <algorithm>
#include <string_view>

#include "rename/name_text.h"

namespace varnel {

void compute_new_names(const ReplaceOptions& options, std::span<const std::string> old_names,
                       std::span<std::string> new_names) {
    const std::size_t n = std::min(old_names.size(), new_names.size());
    const bool in_main = options.scope != NameScope::extension;
    const bool in_ext = options.scope != NameScope::main_name;
    for (std::size_t i = 0; i < n; ++i) {
        const NameParts parts = split_name(old_names[i]);
        std::string& name = new_names[i];
        name.clear();
        name.reserve(old_names[i].size());
        if (in_main) {
            append_replace_all(name, parts.main, options.find, options.with, 1,
                               options.case_sensitive);
        } else {
            name.append(parts.main);
        }
        if (!in_ext) {
            name.append(parts.ext);
            continue;
        }
        const std::size_t ext_at = name.size();
        // From byte 2: the extension's own dot is never matched.
        append_replace_all(name, parts.ext, options.find, options.with, 2, options.case_sensitive);
        // An extension emptied down to its dot goes together with the dot
        // (byte 1 is never replaced, so a one-byte result is that dot). A
        // name that already ended in a lone dot keeps it: nothing was removed.
        if (name.size() == ext_at + 1 && parts.ext.size() > 1) name.pop_back();
    }
}

}  // namespace varnel
