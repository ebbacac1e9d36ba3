// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/list_filter.h"

namespace varnel {

std::optional<FilterOperation> filter_operation(int index) {
    switch (index) {
        case 0:
            return FilterOperation::remove;
        case 1:
            return FilterOperation::keep;
        default:
            return std::nullopt;
    }
}

FilterProblem check_filter(std::optional<FilterOperation> operation, FilterBy by,
                           std::string_view text) {
    if (!operation) return FilterProblem::no_operation;
    if (!text.empty() || by == FilterBy::none) return FilterProblem::none;
    return by == FilterBy::extension ? FilterProblem::empty_extension
                                     : FilterProblem::empty_contained_text;
}

int filter_items(FileList& list, FilterOperation operation, const NameMatch& matches) {
    const bool keep_matches = operation == FilterOperation::keep;
    const auto names = list.old_names();
    return list.remove_rows_if(
        [&](int row) { return matches(names[static_cast<std::size_t>(row)]) != keep_matches; });
}

}  // namespace varnel
