// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The columns 大小 and 修改时间: reading them from the files, and the size
// as people read it.

#include <cstdint>
#include <string>

#include "filelist/file_list.h"

namespace varnel {

// Reads the size and modification time of the files of rows first_row up
// to (not including) end_row (-1: to the last row) (FileList::set_file_facts),
// opening each folder once whatever the rows' order; one cell change is
// told for them all.
void read_row_facts(FileList& list, int first_row = 0, int end_row = -1);

// A size for people: "512 B", "3.2 KB", "45.6 MB", "123 MB", "1.5 GB"
// (units of 1024 bytes; one decimal below 100 of a unit; a point as decimal
// sign whatever the locale); empty for unknown_fact.
[[nodiscard]] std::string file_size_text(std::int64_t bytes);

}  // namespace varnel
