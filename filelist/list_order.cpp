// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/list_order.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>

#include "platform/name_order.h"

namespace varnel {
namespace {

std::vector<int> identity(int count) {
    std::vector<int> order(static_cast<std::size_t>(std::max(count, 0)));
    std::iota(order.begin(), order.end(), 0);
    return order;
}

// 1 for each of `rows` that is a row of 0..count-1.
std::vector<char> marks_of(int count, std::span<const int> rows) {
    std::vector<char> marked(static_cast<std::size_t>(std::max(count, 0)), 0);
    for (const int row : rows)
        if (row >= 0 && row < count) marked[static_cast<std::size_t>(row)] = 1;
    return marked;
}

// Natural-order keys of texts: sorting 100,000 names compares keys as
// plain bytes.
template <typename TextOf>
std::vector<std::string> natural_keys(int count, TextOf text_of) {
    std::vector<std::string> keys(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        const std::string_view text = text_of(row);
        std::string& key = keys[static_cast<std::size_t>(row)];
        append_natural_key(text, key);
        key += '\0';
        key += text;  // ties of the natural order go by the texts' bytes
    }
    return keys;
}

std::vector<int> rows_sorted_by_number(const FileList& list, Column column, bool descending) {
    const int count = list.item_count();
    std::vector<std::int64_t> numbers(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        const FileFacts& facts = list.file_facts(row);
        numbers[static_cast<std::size_t>(row)] =
            column == Column::size ? facts.size : facts.modified_ns;
    }
    const std::vector<std::string> names =
        natural_keys(count, [&list](int row) { return list.get_cell(row, Column::old_name); });
    std::vector<int> order = identity(count);
    std::ranges::stable_sort(order, [&](int a, int b) {
        const std::int64_t na = numbers[static_cast<std::size_t>(a)];
        const std::int64_t nb = numbers[static_cast<std::size_t>(b)];
        if (na != nb) return descending ? nb < na : na < nb;
        return names[static_cast<std::size_t>(a)] < names[static_cast<std::size_t>(b)];
    });
    return order;
}

}  // namespace

std::vector<int> rows_sorted_by(const FileList& list, Column column, bool descending) {
    if (column == Column::size || column == Column::modified)
        return rows_sorted_by_number(list, column, descending);
    const int count = list.item_count();
    const std::vector<std::string> keys =
        natural_keys(count, [&list, column](int row) { return list.get_cell(row, column); });
    std::vector<int> order = identity(count);
    std::ranges::stable_sort(order, [&keys, descending](int a, int b) {
        const std::string& ka = keys[static_cast<std::size_t>(a)];
        const std::string& kb = keys[static_cast<std::size_t>(b)];
        return descending ? kb < ka : ka < kb;
    });
    return order;
}

std::vector<int> rows_moved_by_one(int count, std::span<const int> rows, bool up) {
    const std::vector<char> marked = marks_of(count, rows);
    std::vector<int> order = identity(count);
    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    if (up) {
        // Each unmoved row that has moved rows right after it goes behind them.
        for (int i = 1; i < count; ++i)
            if (marked[at(order[at(i)])] && !marked[at(order[at(i - 1)])])
                std::swap(order[at(i)], order[at(i - 1)]);
    } else {
        for (int i = count - 2; i >= 0; --i)
            if (marked[at(order[at(i)])] && !marked[at(order[at(i + 1)])])
                std::swap(order[at(i)], order[at(i + 1)]);
    }
    return order;
}

std::vector<int> rows_moved_before(int count, std::span<const int> rows, int before) {
    const std::vector<char> marked = marks_of(count, rows);
    before = std::clamp(before, 0, std::max(count, 0));
    while (before < count && marked[static_cast<std::size_t>(before)]) ++before;
    std::vector<int> order;
    order.reserve(marked.size());
    const auto unmoved_in = [&](int from, int to) {
        for (int row = from; row < to; ++row)
            if (!marked[static_cast<std::size_t>(row)]) order.push_back(row);
    };
    unmoved_in(0, before);
    for (int row = 0; row < count; ++row)
        if (marked[static_cast<std::size_t>(row)]) order.push_back(row);
    unmoved_in(before, count);
    return order;
}

}  // namespace varnel
