// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record of a tag edit in progress, kept in the user's private folder
// (platform/recovery_folder.h) under the name of the file's identity, and
// the tests that bind it to the exact file and bytes it was made for.
//
// Three kinds:
//   patch  the edit writes `regions` in place: each holds the old and the
//          new bytes at its offset (and their SHA-256); the file's length
//          goes from old_length to new_length (a region at the end may grow
//          or shrink it). `outside` is the SHA-256 of the first and the
//          last 4 KiB of the bytes that no region covers.
//   copy   the finished new file (companion "<name>.new" in the same
//          folder, SHA-256 `new_file`) is copied over the file in place;
//          `old_blocks` hold the SHA-256 of each piece of the old file
//          (copy_pieces).
//   temp   a new file named `temp_name` in the file's folder is about to
//          take the file's place; all that is left to do is remove it. The
//          new file has a record of this kind too, under its own identity,
//          whose `partner` names the old file's record: whichever of the
//          two files the name leads to after a crash finds one of them.
// The encoded record ends in the SHA-256 of all bytes before it, so that a
// record cut short by a crash is never taken for one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_id.h"
#include "platform/sha256.h"

namespace varnel {

inline constexpr std::size_t record_block = 4096;

enum class RecordKind : std::uint8_t { patch = 1, copy = 2, temp = 3 };

struct RecordRegion {
    std::uint64_t offset = 0;
    std::string old_bytes;
    std::string new_bytes;
    friend bool operator==(const RecordRegion&, const RecordRegion&) = default;
};

struct EditRecord {
    RecordKind kind = RecordKind::patch;
    // Device, inode and birth time of the file (the other fields unused).
    FileId file;
    std::uint64_t old_length = 0;
    std::uint64_t new_length = 0;
    std::vector<RecordRegion> regions;     // patch
    Sha256Digest outside{};                // patch
    Sha256Digest new_file{};               // copy
    std::vector<Sha256Digest> old_blocks;  // copy
    std::string temp_name;                 // temp
    std::string partner;                   // temp: the other record's name
    friend bool operator==(const EditRecord&, const EditRecord&) = default;
};

// The name of the record of the file of `id` (device and inode in hex).
[[nodiscard]] std::string record_name(const FileId& id);

[[nodiscard]] std::string encode_record(const EditRecord& record);
// nullopt unless `bytes` are a whole, consistent record: the trailing hash
// matches, every region's hashes match its bytes, lie within the lengths,
// and do not overlap.
[[nodiscard]] std::optional<EditRecord> decode_record(std::string_view bytes);

// True when `now` is the file the record was made for: same device and
// inode, and the same birth time where the record has one.
[[nodiscard]] bool same_recorded_file(const FileId& recorded, const FileId& now);

// What a region of the file holds now. `current` is the file's bytes from
// the region's offset to the end of the region's longer side (or of the
// file, where it ends first).
enum class RegionState { old_bytes, new_bytes, torn, foreign };
[[nodiscard]] RegionState region_state(std::string_view current, const RecordRegion& region);

// The pieces (offset, length) of the file whose bytes make `outside`: the
// first and the last 4 KiB of the positions below `limit` (the shorter of
// the two lengths) that no region covers, in file order; where fewer than
// 8 KiB are left, each of them once.
[[nodiscard]] std::vector<std::pair<std::uint64_t, std::uint64_t>> outside_pieces(
    const std::vector<RecordRegion>& regions, std::uint64_t limit);

// The pieces (offset, length) of [0, length): 4 KiB blocks, the one that
// holds `new_length` split there, so that a copy of the new file cut short
// anywhere leaves each piece wholly old or wholly new.
[[nodiscard]] std::vector<std::pair<std::uint64_t, std::uint64_t>> copy_pieces(
    std::uint64_t length, std::uint64_t new_length);

}  // namespace varnel
