#include "rename/preview.h"

#include <algorithm>

namespace varnel {

ListChange fill_list_columns(FileList& list, int first_row, int last_row) {
    const FileList::ChangeBatch batch(list);
    ListChange change;
    change.status_reset = list.reset_rename_status();
    const int rows = list.item_count();
    first_row = std::max(first_row, 0);
    last_row = std::min(last_row, rows - 1);
    change.first_row = first_row;
    change.last_row = last_row;
    for (int row = first_row; row <= last_row; ++row)
        list.set_cell(row, Column::new_name, list.new_names()[static_cast<std::size_t>(row)]);

    // Names left by an earlier, longer preview: they end at the first empty cell.
    int row = std::max(last_row + 1, first_row);
    for (; row < rows && !list.get_cell(row, Column::new_name).empty(); ++row)
        list.set_cell(row, Column::new_name, {});
    if (row - 1 > change.last_row) {
        if (change.first_row > change.last_row)
            change.first_row = std::max(last_row + 1, first_row);
        change.last_row = row - 1;
    }
    return change;
}

ListChange refresh_preview(FileList& list, const RulePages& pages, const PreviewSettings& settings,
                           bool explicit_command, const Codec& codec) {
    if (!settings.auto_preview && !explicit_command) return {};
    int n = list.item_count();
    if (!explicit_command && !settings.preview_all && pages.active != RulePage::tags)
        n = std::min(n, std::max(settings.preview_count, 0));
    if (list.item_count() == 0) return {};
    const FileList::ChangeBatch batch(list);  // the tag rule writes its column too
    std::string error;
    n = dispatch_rule(list, pages, n, codec, &error);
    ListChange change = fill_list_columns(list, 0, n - 1);
    change.rule_error = std::move(error);
    if (settings.mark_conflicts)
        show_name_conflicts(list, find_name_conflicts(list, n, settings.order, codec,
                                                      settings.read_folder ? settings.read_folder
                                                                           : read_folder_names));
    return change;
}

}  // namespace varnel
