// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "智能顺序" order of a batch: moves arranged so that chains and cycles
// of names rename without ever replacing a file.
//
// Within one folder, an item whose new name is the current name of another
// item of the batch waits until that item has moved away, so chains
// (a→b while b→c) rename back to front. A cycle (a↔b, a→b→c→a) is broken by
// first moving its member of the lowest row to a unique temporary name; the
// rest of the cycle then follows as a chain, and the temporary name moves to
// its final name last. In a folder whose file system swaps two names
// atomically, a cycle is made of swaps instead and no temporary name
// exists. Everything else keeps list order. Names are compared byte for
// byte (file-system spellings).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

// How a batch is carried out (冲突处理): row by row in list order ("按顺序"),
// or in the order of plan_smart_order ("智能顺序").
enum class RenameOrder : unsigned char { in_order, smart };

// One item of the batch: its folder (any number equal for items of one
// folder) and its file's current and wanted names. An item whose `to`
// equals its `from`, or whose `to` is empty, does not move.
struct MoveRequest {
    std::uint32_t folder = 0;
    std::string_view from;  // both viewed, not owned: they must outlive the plan's use
    std::string_view to;
};

// One rename of the plan, by index into the requests. A cycle's first
// member appears twice: once with `to_temporary` (from its name to the
// temporary name the caller chose for it) and later as its final move
// (from the temporary name to its wanted name).
//
// A cycle c0 → c1 → … → ck-1 → c0 (each wants the current name of the
// next; c0 its member of the lowest row) in a folder that swaps names is
// k-1 swaps instead: swap j (j = 1..k-1) has `exchange` set, `request`
// cj-1 and `partner` cj, and swaps the name of c0 with the name of cj; the
// file of cj-1 (then under the name of c0, or its own for j = 1) gets its
// wanted name, and after the last swap the file of ck-1 has its wanted name
// too.
struct PlannedMove {
    std::size_t request = 0;
    bool to_temporary = false;    // this move goes to the temporary name
    bool from_temporary = false;  // this move starts at the temporary name
    bool exchange = false;
    std::size_t partner = 0;  // with `exchange`: the request whose name is swapped
};

// The moves of every item that moves, in the order to carry them out: the
// moves to temporary names first, then each chain from its free end. Items
// whose source is the same as an earlier item's (the same file listed twice)
// keep list order and wait for nothing. Linear in the number of requests.
// `swapping_folders[f]` nonzero: folder f swaps names (swaps come first);
// folders beyond its end do not.
[[nodiscard]] std::vector<PlannedMove> plan_smart_order(
    std::span<const MoveRequest> requests, std::span<const char> swapping_folders = {});

}  // namespace varnel
