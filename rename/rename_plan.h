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
// its final name last. Everything else keeps list order. Names are compared
// byte for byte (file-system spellings).

#include <cstdint>
#include <span>
#include <string>
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
    std::string from;
    std::string to;
};

// One rename of the plan, by index into the requests. A cycle's first
// member appears twice: once with `to_temporary` (from its name to the
// temporary name the caller chose for it) and later as its final move
// (from the temporary name to its wanted name).
struct PlannedMove {
    std::size_t request = 0;
    bool to_temporary = false;  // this move goes to the temporary name
    bool from_temporary = false;  // this move starts at the temporary name
};

// The moves of every item that moves, in the order to carry them out: the
// moves to temporary names first, then each chain from its free end. Items
// whose source is the same as an earlier item's (the same file listed twice)
// keep list order and wait for nothing. Linear in the number of requests.
std::vector<PlannedMove> plan_smart_order(std::span<const MoveRequest> requests);

}  // namespace varnel
