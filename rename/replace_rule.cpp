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
        if (in_main) {
            name = replace_all(parts.main, options.find, options.with, 1, options.case_sensitive);
        } else {
            name.assign(parts.main);
        }
        if (!in_ext) {
            name.append(parts.ext);
            continue;
        }
        // From byte 2: the extension's own dot is never matched.
        const std::string ext =
            replace_all(parts.ext, options.find, options.with, 2, options.case_sensitive);
        // An extension emptied down to its dot goes together with the dot.
        if (ext != ".") name.append(ext);
    }
}

}  // namespace varnel
