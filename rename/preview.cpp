// SPDX-License-Identifier: GPL-3.0-or-later
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

namespace {

// Shows each fault of rows 0..faults.size()-1 in column 命名状态 and
// empties every fault mark an earlier preview left on a row without one;
// with `conflicts_shown` the conflict marks, which share "名称过长", have
// already emptied those and set the ones of names too long for any rule.
void show_name_faults(FileList& list, const std::vector<NameFault>& faults, bool conflicts_shown) {
    const std::string too_long = name_fault_text(NameFault::too_long);
    const std::string over_budget = name_fault_text(NameFault::over_budget);
    for (int row = 0; row < list.item_count(); ++row) {
        const auto r = static_cast<std::size_t>(row);
        const NameFault fault = r < faults.size() ? faults[r] : NameFault::none;
        const std::string_view current = list.get_cell(row, Column::rename_status);
        if (fault == NameFault::none) {
            if ((current == too_long && !conflicts_shown) || current == over_budget)
                list.set_rename_status(row, {}, StatusImage::none);
            continue;
        }
        const std::string& text = fault == NameFault::too_long ? too_long : over_budget;
        if (current != text) list.set_rename_status(row, text, StatusImage::failure);
    }
}

}  // namespace

ListChange refresh_preview(FileList& list, const RulePages& pages, const PreviewSettings& settings,
                           bool explicit_command, const Codec& codec) {
    return refresh_preview(list, page_rule(pages, codec), settings, explicit_command, codec);
}

ListChange refresh_preview(FileList& list, const NameRule& rule, const PreviewSettings& settings,
                           bool explicit_command, const Codec& codec) {
    if (!settings.auto_preview && !explicit_command) return {};
    int n = list.item_count();
    if (!explicit_command && !settings.preview_all && !rule.every_item)
        n = std::min(n, std::max(settings.preview_count, 0));
    if (list.item_count() == 0) return {};
    const FileList::ChangeBatch batch(list);  // the tag rule writes its column too
    std::string error;
    std::vector<NameFault> faults;
    n = rule.compute(list, n, &error, &faults);
    ListChange change = fill_list_columns(list, 0, n - 1);
    change.rule_error = std::move(error);
    if (settings.mark_conflicts)
        show_name_conflicts(
            list, find_name_conflicts(
                      list, n, settings.order, codec,
                      settings.read_folder ? settings.read_folder : read_shared_folder_names));
    show_name_faults(list, faults, settings.mark_conflicts);
    return change;
}

}  // namespace varnel
