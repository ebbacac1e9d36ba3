// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file list: the queue of files every rule and command works on.
//
// Item i (1-based) is shown in row i-1. The old-name array and the new-name
// array are indexed by row here (index r holds item r+1). Texts are
// code-page bytes; beside its text every item keeps its name and folder
// exactly as the file system spells them, and file operations use those.
// Items keep the order they were added in; duplicates are allowed.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_facts.h"

namespace varnel {

// The status image of column 命名状态.
enum class StatusImage : std::int8_t { none = -1, success = 0, failure = 1 };

// Columns of the list, in display order. 大小 and 修改时间 are shown only
// when the user asks for them; they hold numbers (file_facts), not texts.
enum class Column : int {
    old_name = 0,
    new_name = 1,
    folder = 2,
    rename_status = 3,
    tag_status = 4,
    size = 5,
    modified = 6
};
inline constexpr int column_count = 7;

// A folder of items: its code-page text and its file-system spelling, both
// ending in '/'.
struct ItemFolder {
    std::string text;
    std::string fs;
};

// An item's file name: code-page text and file-system spelling.
struct ItemName {
    std::string text;
    std::string fs;
};

// A rectangle of cells whose content changed: rows first_row..last_row
// (0-based, inclusive) and columns first..last.
struct CellChange {
    int first_row = 0;
    int last_row = 0;
    Column first = Column::old_name;
    Column last = Column::tag_status;
};

// A change of the rows themselves, told twice: before it happens (done
// false) and after (done true). inserted: rows first..first+count-1 are new;
// removed: those rows go; reset: rows anywhere go (the list is rebuilt);
// reordered: the same rows in a new order, `order[i]` being the row before
// the change that is row i after it (the span is valid during the call).
struct RowsChange {
    enum class Kind : std::uint8_t { inserted, removed, reset, reordered };
    Kind kind = Kind::reset;
    int first = 0;
    int count = 0;
    bool done = false;
    std::span<const int> order = {};
};

class FileList {
public:
    // Told of every change to the cells of existing rows (names, folders,
    // status texts and images, failure reasons), whoever writes them. Writes
    // made while a ChangeBatch is alive are told once, as the smallest
    // rectangle that covers them all, when the outermost batch ends. Rows
    // added or removed are not cell changes; the rows observer hears them.
    using CellObserver = std::function<void(const CellChange&)>;
    void set_cell_observer(CellObserver observer) { observer_ = std::move(observer); }

    // Told of every row added or removed, whoever adds or removes it.
    using RowsObserver = std::function<void(const RowsChange&)>;
    void set_rows_observer(RowsObserver observer) { rows_observer_ = std::move(observer); }

    class ChangeBatch {
    public:
        explicit ChangeBatch(FileList& list) : list_(list) { ++list_.batch_depth_; }
        ~ChangeBatch() { list_.end_batch(); }
        ChangeBatch(const ChangeBatch&) = delete;
        ChangeBatch& operator=(const ChangeBatch&) = delete;

    private:
        FileList& list_;
    };

    [[nodiscard]] int item_count() const { return static_cast<int>(old_names_.size()); }

    // Row r holds item r+1. Sizes always equal item_count().
    [[nodiscard]] std::span<const std::string> old_names() const { return old_names_; }
    [[nodiscard]] std::span<std::string> new_names() { return new_names_; }
    [[nodiscard]] std::span<const std::string> new_names() const { return new_names_; }

    // Appends one item per name, all sharing `folder`. Before the rows are
    // added, when row 0 carries a rename status, the rename status of every
    // row is cleared (a new batch starts a fresh status column). Returns the
    // first new row.
    int append_items(const ItemFolder& folder, std::vector<ItemName> names);

    // Cell texts; a row or column that does not exist, and the number
    // columns 大小 and 修改时间, give empty text.
    [[nodiscard]] std::string_view get_cell(int row, Column column) const;
    // Sets a cell of column 新文件名, 命名状态 or MP3标签状态 (the old name
    // and the folder change only through the item operations); a row that
    // does not exist is ignored.
    void set_cell(int row, Column column, std::string text);

    [[nodiscard]] StatusImage status_image(int row) const;
    // Sets the 命名状态 cell, its image and the reason of a failure (the
    // system's error text, code-page bytes; empty on success).
    void set_rename_status(int row, std::string text, StatusImage image, std::string reason = {});
    // Why the row's last rename or undo failed; empty when it did not.
    [[nodiscard]] const std::string& status_reason(int row) const;
    // When row 0 carries a rename status text, empties the text, image and
    // reason of every row. True when it cleared anything.
    bool reset_rename_status();

    [[nodiscard]] const ItemFolder& item_folder(int row) const;
    [[nodiscard]] const std::string& fs_name(int row) const { return rows_[idx(row)].fs_name; }
    // The index of the row's folder; rows added together share one.
    [[nodiscard]] std::uint32_t folder_index(int row) const { return rows_[idx(row)].folder; }
    [[nodiscard]] std::size_t folder_count() const { return folders_.size(); }
    [[nodiscard]] const ItemFolder& folder_at(std::uint32_t index) const { return folders_[index]; }

    // The size and modification time of the row's file, as last read
    // (both unknown until then, and for a row that does not exist).
    [[nodiscard]] const FileFacts& file_facts(int row) const;
    // Sets them; told as a change of columns 大小 and 修改时间.
    void set_file_facts(int row, const FileFacts& facts);

    // The item's file now has the name `name` (after a rename or undo).
    void set_old_name(int row, ItemName name);

    // Selection (the list control's own marks).
    [[nodiscard]] bool is_selected(int row) const;
    void select_row(int row);
    void unselect_row(int row);
    [[nodiscard]] int selected_count() const { return selected_count_; }
    [[nodiscard]] int first_selected_row() const;  // -1 when none
    void select_all();
    void unselect_all();

    // Deletes item `item` (1-based): its row and its entries of both arrays;
    // later items move up by one.
    void remove_item(int item);
    // Deletes every item whose row r gives remove(r) == true, in one pass
    // (later items move up). Returns how many were removed.
    template <typename RowPredicate>
    int remove_rows_if(RowPredicate remove);
    int remove_selected_items();
    void clear();

    // Puts the rows in a new order: row i becomes what row order[i] was, with
    // every cell, folder and status. False, changing nothing, when `order`
    // is not a permutation of 0..item_count()-1.
    [[nodiscard]] bool reorder(std::span<const int> order);

private:
    struct Row {
        std::string fs_name;
        std::string new_name_cell;
        std::string rename_status;
        std::string tag_status;
        std::string status_reason;
        FileFacts facts;
        std::uint32_t folder = 0;
        StatusImage image = StatusImage::none;
        bool selected = false;
    };

    [[nodiscard]] std::size_t idx(int row) const { return static_cast<std::size_t>(row); }
    [[nodiscard]] bool has_row(int row) const { return row >= 0 && row < item_count(); }
    void compact(const std::vector<char>& remove_flags);
    void changed(int first_row, int last_row, Column first, Column last);
    void end_batch();
    void rows_changing(RowsChange::Kind kind, int first, int count, bool done);

    std::vector<std::string> old_names_;
    std::vector<std::string> new_names_;
    std::vector<Row> rows_;
    std::vector<ItemFolder> folders_;
    int selected_count_ = 0;
    CellObserver observer_;
    RowsObserver rows_observer_;
    int batch_depth_ = 0;
    std::optional<CellChange> pending_;
};

template <typename RowPredicate>
int FileList::remove_rows_if(RowPredicate remove) {
    std::vector<char> flags(rows_.size(), 0);
    int removed = 0;
    for (int row = 0; row < item_count(); ++row) {
        if (remove(row)) {
            flags[idx(row)] = 1;
            ++removed;
        }
    }
    if (removed > 0) {
        rows_changing(RowsChange::Kind::reset, 0, item_count(), false);
        compact(flags);
        rows_changing(RowsChange::Kind::reset, 0, item_count(), true);
    }
    return removed;
}

}  // namespace varnel
