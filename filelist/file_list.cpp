// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/file_list.h"

#include <algorithm>
#include <utility>

namespace varnel {

namespace {
const ItemFolder empty_folder;
const std::string empty_text;

Column min_column(Column a, Column b) {
    return static_cast<int>(a) < static_cast<int>(b) ? a : b;
}
Column max_column(Column a, Column b) {
    return static_cast<int>(a) > static_cast<int>(b) ? a : b;
}
}  // namespace

void FileList::changed(int first_row, int last_row, Column first, Column last) {
    if (!observer_ || first_row > last_row) return;
    const CellChange change{first_row, last_row, first, last};
    if (batch_depth_ == 0) {
        observer_(change);
        return;
    }
    if (!pending_) {
        pending_ = change;
        return;
    }
    pending_->first_row = std::min(pending_->first_row, first_row);
    pending_->last_row = std::max(pending_->last_row, last_row);
    pending_->first = min_column(pending_->first, first);
    pending_->last = max_column(pending_->last, last);
}

void FileList::end_batch() {
    if (--batch_depth_ > 0 || !pending_) return;
    CellChange change = *pending_;
    pending_.reset();
    // Rows may have been removed since the change was noted.
    change.last_row = std::min(change.last_row, item_count() - 1);
    if (observer_ && change.first_row <= change.last_row) observer_(change);
}

void FileList::rows_changing(RowsChange::Kind kind, int first, int count, bool done) {
    if (rows_observer_) rows_observer_(RowsChange{kind, first, count, done, {}});
}

namespace {

template <typename T>
std::vector<T> permuted(std::vector<T>& from, std::span<const int> order) {
    std::vector<T> to;
    to.reserve(from.size());
    for (const int row : order) to.push_back(std::move(from[static_cast<std::size_t>(row)]));
    return to;
}

bool is_permutation_of_rows(std::span<const int> order, int count) {
    if (std::ssize(order) != count) return false;
    std::vector<char> seen(order.size(), 0);
    for (const int row : order) {
        if (row < 0 || row >= count || seen[static_cast<std::size_t>(row)]) return false;
        seen[static_cast<std::size_t>(row)] = 1;
    }
    return true;
}

}  // namespace

bool FileList::reorder(std::span<const int> order) {
    if (!is_permutation_of_rows(order, item_count())) return false;
    const RowsChange change{RowsChange::Kind::reordered, 0, item_count(), false, order};
    if (rows_observer_) rows_observer_(change);
    old_names_ = permuted(old_names_, order);
    new_names_ = permuted(new_names_, order);
    rows_ = permuted(rows_, order);
    if (rows_observer_) rows_observer_(RowsChange{change.kind, 0, item_count(), true, order});
    return true;
}

int FileList::append_items(const ItemFolder& folder, std::vector<ItemName> names) {
    reset_rename_status();
    const int first = item_count();
    if (names.empty()) return first;
    const int count = static_cast<int>(names.size());
    rows_changing(RowsChange::Kind::inserted, first, count, false);
    const auto folder_id = static_cast<std::uint32_t>(folders_.size());
    folders_.push_back(folder);
    // Grown geometrically: many small appends (files of alternating
    // folders) must not copy the whole list each time.
    const std::size_t total = old_names_.size() + names.size();
    if (total > old_names_.capacity()) {
        const std::size_t grown = std::max(total, old_names_.capacity() * 2);
        old_names_.reserve(grown);
        new_names_.reserve(grown);
        rows_.reserve(grown);
    }
    for (ItemName& name : names) {
        old_names_.push_back(std::move(name.text));
        new_names_.emplace_back();
        Row row;
        row.fs_name = std::move(name.fs);
        row.folder = folder_id;
        rows_.push_back(std::move(row));
    }
    rows_changing(RowsChange::Kind::inserted, first, count, true);
    return first;
}

std::string_view FileList::get_cell(int row, Column column) const {
    if (!has_row(row)) return {};
    const Row& r = rows_[idx(row)];
    switch (column) {
        case Column::old_name:
            return old_names_[idx(row)];
        case Column::new_name:
            return r.new_name_cell;
        case Column::folder:
            return folders_[r.folder].text;
        case Column::rename_status:
            return r.rename_status;
        case Column::tag_status:
            return r.tag_status;
        case Column::size:
        case Column::modified:
            return {};
    }
    return {};
}

void FileList::set_cell(int row, Column column, std::string text) {
    if (!has_row(row)) return;
    Row& r = rows_[idx(row)];
    switch (column) {
        case Column::new_name:
            r.new_name_cell = std::move(text);
            break;
        case Column::rename_status:
            r.rename_status = std::move(text);
            break;
        case Column::tag_status:
            r.tag_status = std::move(text);
            break;
        case Column::old_name:
        case Column::folder:
        case Column::size:
        case Column::modified:
            return;
    }
    changed(row, row, column, column);
}

StatusImage FileList::status_image(int row) const {
    return has_row(row) ? rows_[idx(row)].image : StatusImage::none;
}

void FileList::set_rename_status(int row, std::string text, StatusImage image, std::string reason) {
    if (!has_row(row)) return;
    Row& r = rows_[idx(row)];
    r.rename_status = std::move(text);
    r.image = image;
    r.status_reason = std::move(reason);
    changed(row, row, Column::rename_status, Column::rename_status);
}

const std::string& FileList::status_reason(int row) const {
    return has_row(row) ? rows_[idx(row)].status_reason : empty_text;
}

bool FileList::reset_rename_status() {
    // Only row 0 is looked at: a batch writes every row, so row 0 tells
    // whether the column holds results at all.
    if (rows_.empty() || rows_.front().rename_status.empty()) return false;
    for (Row& r : rows_) {
        r.rename_status.clear();
        r.status_reason.clear();
        r.image = StatusImage::none;
    }
    changed(0, item_count() - 1, Column::rename_status, Column::rename_status);
    return true;
}

const FileFacts& FileList::file_facts(int row) const {
    static const FileFacts unknown;
    return has_row(row) ? rows_[idx(row)].facts : unknown;
}

void FileList::set_file_facts(int row, const FileFacts& facts) {
    if (!has_row(row)) return;
    rows_[idx(row)].facts = facts;
    changed(row, row, Column::size, Column::modified);
}

const ItemFolder& FileList::item_folder(int row) const {
    return has_row(row) ? folders_[rows_[idx(row)].folder] : empty_folder;
}

void FileList::set_old_name(int row, ItemName name) {
    if (!has_row(row)) return;
    old_names_[idx(row)] = std::move(name.text);
    rows_[idx(row)].fs_name = std::move(name.fs);
    changed(row, row, Column::old_name, Column::old_name);
}

bool FileList::is_selected(int row) const {
    return has_row(row) && rows_[idx(row)].selected;
}

void FileList::select_row(int row) {
    if (!has_row(row) || rows_[idx(row)].selected) return;
    rows_[idx(row)].selected = true;
    ++selected_count_;
}

void FileList::unselect_row(int row) {
    if (!has_row(row) || !rows_[idx(row)].selected) return;
    rows_[idx(row)].selected = false;
    --selected_count_;
}

int FileList::first_selected_row() const {
    if (selected_count_ == 0) return -1;
    for (int row = 0; row < item_count(); ++row)
        if (rows_[idx(row)].selected) return row;
    return -1;
}

void FileList::select_all() {
    for (Row& r : rows_) r.selected = true;
    selected_count_ = item_count();
}

void FileList::unselect_all() {
    for (Row& r : rows_) r.selected = false;
    selected_count_ = 0;
}

void FileList::remove_item(int item) {
    const int row = item - 1;
    if (!has_row(row)) return;
    rows_changing(RowsChange::Kind::removed, row, 1, false);
    if (rows_[idx(row)].selected) --selected_count_;
    old_names_.erase(old_names_.begin() + row);
    new_names_.erase(new_names_.begin() + row);
    rows_.erase(rows_.begin() + row);
    rows_changing(RowsChange::Kind::removed, row, 1, true);
}

int FileList::remove_selected_items() {
    if (selected_count_ == 0) return 0;
    return remove_rows_if([this](int row) { return rows_[idx(row)].selected; });
}

void FileList::compact(const std::vector<char>& remove_flags) {
    std::size_t kept = 0;
    for (std::size_t from = 0; from < rows_.size(); ++from) {
        if (remove_flags[from]) {
            if (rows_[from].selected) --selected_count_;
            continue;
        }
        if (kept != from) {
            old_names_[kept] = std::move(old_names_[from]);
            new_names_[kept] = std::move(new_names_[from]);
            rows_[kept] = std::move(rows_[from]);
        }
        ++kept;
    }
    old_names_.resize(kept);
    new_names_.resize(kept);
    rows_.resize(kept);
}

void FileList::clear() {
    const int count = item_count();
    if (count > 0) rows_changing(RowsChange::Kind::reset, 0, count, false);
    old_names_.clear();
    new_names_.clear();
    rows_.clear();
    folders_.clear();
    selected_count_ = 0;
    if (count > 0) rows_changing(RowsChange::Kind::reset, 0, 0, true);
}

}  // namespace varnel
