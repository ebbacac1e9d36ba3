// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/row_facts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "platform/file_facts.h"

namespace varnel {

void read_row_facts(FileList& list, int first_row, int end_row) {
    const int count = end_row < 0 ? list.item_count() : std::min(end_row, list.item_count());
    if (first_row < 0) first_row = 0;
    if (first_row >= count) return;
    // The rows bucketed by folder (a counting sort): a sorted list mixes
    // folders, and each folder must still be opened only once.
    std::vector<int> starts(list.folder_count() + 1, 0);
    for (int row = first_row; row < count; ++row) ++starts[list.folder_index(row) + 1];
    for (std::size_t folder = 1; folder < starts.size(); ++folder)
        starts[folder] += starts[folder - 1];
    std::vector<int> next(starts.begin(), starts.end() - 1);
    std::vector<int> rows(static_cast<std::size_t>(count - first_row));
    for (int row = first_row; row < count; ++row)
        rows[static_cast<std::size_t>(next[list.folder_index(row)]++)] = row;

    const FileList::ChangeBatch batch(list);
    for (std::size_t folder = 0; folder + 1 < starts.size(); ++folder) {
        const int begin = starts[folder];
        const int end = starts[folder + 1];
        if (begin == end) continue;
        const FolderFacts facts(list.folder_at(static_cast<std::uint32_t>(folder)).fs);
        for (int i = begin; i < end; ++i) {
            const int row = rows[static_cast<std::size_t>(i)];
            list.set_file_facts(row, facts.of(list.fs_name(row)));
        }
    }
}

std::string file_size_text(std::int64_t bytes) {
    if (bytes == unknown_fact) return {};
    if (bytes < 1024) return std::to_string(bytes) + " B";
    static constexpr std::array<const char*, 6> units{"KB", "MB", "GB", "TB", "PB", "EB"};
    // The figure as shown: to a tenth below 100, whole from there on.
    const auto shown = [](double value) {
        const double tenths = std::round(value * 10.0) / 10.0;
        return tenths < 100.0 ? tenths : std::round(value);
    };
    double value = static_cast<double>(bytes) / 1024.0;
    std::size_t unit = 0;
    while (unit + 1 < units.size() && shown(value) >= 1024.0) {
        value /= 1024.0;
        ++unit;
    }
    std::array<char, 32> digits{};
    const int precision = shown(value) < 100.0 ? 1 : 0;
    const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                       std::chars_format::fixed, precision);
    return std::string(digits.data(), written.ptr) + ' ' + units[unit];
}

}  // namespace varnel
