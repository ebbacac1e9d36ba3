// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/id3v2_walk.h"

#include <algorithm>

#include "id3/id3v2_frames.h"
#include "id3/mpeg_audio.h"
#include "id3/tag_bytes.h"

namespace varnel {
namespace {

bool is_id_char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool is_id(std::string_view id) {
    return std::all_of(id.begin(), id.end(), is_id_char);
}

enum class SizeRule { three_bytes, plain, syncsafe };

struct Walk {
    std::vector<FrameSpan> frames;
    std::size_t end = 0;
    std::optional<FrameSpan> cut;
};

Walk walk(std::string_view area, std::size_t header, SizeRule rule) {
    Walk result;
    const std::size_t id_size = header == 6 ? 3 : 4;
    std::size_t at = 0;
    while (at + header <= area.size()) {
        if (!is_id(area.substr(at, id_size))) break;
        const std::string_view size_bytes = area.substr(at + id_size, header == 6 ? 3 : 4);
        std::optional<std::uint32_t> size;
        if (rule == SizeRule::syncsafe)
            size = syncsafe(size_bytes);
        else if (big_endian(size_bytes) < 0x80000000u)
            size = big_endian(size_bytes);
        if (!size) break;
        if (*size > area.size() - at - header) {
            result.cut = FrameSpan{at, area.size() - at - header};
            break;
        }
        result.frames.push_back({at, *size});
        at += header + *size;
    }
    result.end = at;
    return result;
}

// Nothing but padding follows the walk, or (a tag whose size runs too far)
// MPEG audio after the padding.
bool ends_cleanly(std::string_view area, const Walk& walked) {
    const std::size_t after = skip_zero_bytes(area, walked.end);
    return after == area.size() || starts_with_mpeg_audio(area.substr(after));
}

bool same_frames(const Walk& one, const Walk& other) {
    return one.end == other.end && one.frames.size() == other.frames.size() &&
           std::equal(one.frames.begin(), one.frames.end(), other.frames.begin(),
                      [](const FrameSpan& a, const FrameSpan& b) {
                          return a.at == b.at && a.size == b.size;
                      });
}

// Bytes the extended header at the start of `area` takes; 0 where it does
// not parse but a frame id stands there (the flag set without one).
std::size_t extended_header_size(std::string_view area, std::uint8_t major) {
    if (area.size() < 4) return area.size();
    const std::string_view size_bytes = area.substr(0, 4);
    std::optional<std::uint64_t> size;
    if (major == 3) {
        const std::uint32_t declared = big_endian(size_bytes);
        if (declared == 6 || declared == 10) size = 4 + static_cast<std::uint64_t>(declared);
    } else if (const std::optional<std::uint32_t> declared = syncsafe(size_bytes);
               declared && *declared >= 6 && area.size() > 4 && area[4] == 1) {
        size = *declared;
    }
    if (size && *size <= area.size()) return static_cast<std::size_t>(*size);
    if (is_id(area.substr(0, 4))) return 0;
    // Neither: skipped as declared, as far as the bytes go.
    const std::uint64_t declared = major == 3
                                       ? 4 + static_cast<std::uint64_t>(big_endian(size_bytes))
                                       : syncsafe(size_bytes).value_or(area.size());
    return static_cast<std::size_t>(std::min<std::uint64_t>(declared, area.size()));
}

void take(FrameList& list, Walk walked) {
    list.frames = std::move(walked.frames);
    list.end = walked.end;
    list.cut = walked.cut;
    list.clean = skip_zero_bytes(list.area, list.end) == list.area.size();
}

// Version 2.4 sizes are syncsafe, but some writers put plain numbers there;
// the whole tag is walked both ways and the reading that ends cleanly taken.
void walk_v24(FrameList& list) {
    Walk safe = walk(list.area, 10, SizeRule::syncsafe);
    if (ends_cleanly(list.area, safe)) return take(list, std::move(safe));
    Walk plain = walk(list.area, 10, SizeRule::plain);
    if (same_frames(safe, plain)) return take(list, std::move(safe));
    if (ends_cleanly(list.area, plain)) {
        list.plain_sizes = true;
        return take(list, std::move(plain));
    }
    list.ambiguous = true;
    list.plain_sizes = plain.end > safe.end;
    take(list, list.plain_sizes ? std::move(plain) : std::move(safe));
}

}  // namespace

std::string_view FrameList::id(const FrameSpan& frame) const {
    return std::string_view(area).substr(frame.at, header_size == 6 ? 3 : 4);
}

std::string_view FrameList::data(const FrameSpan& frame) const {
    return std::string_view(area).substr(frame.at + header_size, frame.size);
}

std::uint8_t FrameList::status(const FrameSpan& frame) const {
    return header_size == 6 ? 0 : byte_at(area, frame.at + 8);
}

std::uint8_t FrameList::format(const FrameSpan& frame) const {
    return header_size == 6 ? 0 : byte_at(area, frame.at + 9);
}

std::optional<FrameList> walk_id3v2_frames(std::string_view tag) {
    if (tag.size() < id3v2_header_size || tag.substr(0, 3) != "ID3") return std::nullopt;
    FrameList list;
    list.major = byte_at(tag, 3);
    list.flags = byte_at(tag, 5);
    const std::optional<std::uint32_t> size = syncsafe(tag.substr(6, 4));
    if (!size || byte_at(tag, 4) == 0xFF || list.flags == 0xFF) return std::nullopt;
    if (list.major < 2 || list.major > 4) return std::nullopt;
    const std::string_view body =
        tag.substr(id3v2_header_size, std::min<std::size_t>(*size, tag.size() - id3v2_header_size));
    const bool unsynchronised = list.major < 4 && (list.flags & 0x80);
    list.area = unsynchronised ? undo_unsynchronisation(body) : std::string(body);
    std::size_t skip = 0;
    if (list.major >= 3 && (list.flags & 0x40)) skip = extended_header_size(list.area, list.major);
    list.area.erase(0, skip);
    if (!unsynchronised) list.area_offset = id3v2_header_size + skip;
    if (list.major == 2) {
        list.header_size = 6;
        if (list.flags & 0x40) return list;  // compressed: no known layout
        take(list, walk(list.area, 6, SizeRule::three_bytes));
    } else if (list.major == 3) {
        take(list, walk(list.area, 10, SizeRule::plain));
    } else {
        walk_v24(list);
    }
    return list;
}

std::size_t skip_zero_bytes(std::string_view bytes, std::size_t from) {
    if (from > bytes.size()) return bytes.size();
    while (from < bytes.size() && bytes[from] == '\0') ++from;
    return from;
}

}  // namespace varnel
