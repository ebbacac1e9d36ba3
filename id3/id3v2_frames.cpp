// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/id3v2_frames.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "id3/id3v2_walk.h"
#include "id3/tag_bytes.h"

namespace varnel {
namespace {

// --- Texts -----------------------------------------------------------------

void put_utf16le(std::string& out, std::uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

// The code point of the UTF-8 sequence at `at`, advancing `at`; nullopt
// (one byte skipped) for a malformed one.
std::optional<std::uint32_t> next_code_point(std::string_view text, std::size_t& at) {
    const std::uint8_t lead = byte_at(text, at++);
    if (lead < 0x80) return lead;
    const int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (extra < 0 || at + static_cast<std::size_t>(extra) > text.size()) return std::nullopt;
    std::uint32_t value = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        const std::uint8_t next = byte_at(text, at + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) return std::nullopt;
        value = (value << 6) | (next & 0x3F);
    }
    at += static_cast<std::size_t>(extra);
    const std::uint32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000))
        return std::nullopt;
    return value;
}

// Where the string of `encoding` starting at `from` ends (its terminator),
// or `bytes.size()` when it has none; `after` is set past the terminator.
std::size_t string_end(std::string_view bytes, std::size_t from, std::uint8_t encoding,
                       std::size_t& after) {
    if (encoding == 1 || encoding == 2) {
        for (std::size_t i = from; i + 1 < bytes.size(); i += 2)
            if (bytes[i] == '\0' && bytes[i + 1] == '\0') {
                after = i + 2;
                return i;
            }
    } else {
        const std::size_t end = bytes.find('\0', from);
        if (end != std::string_view::npos) {
            after = end + 1;
            return end;
        }
    }
    after = bytes.size();
    return bytes.size();
}

// Up to `count` strings of `encoding` (2 or 3) at the start of `bytes` in
// UTF-16 with a byte-order mark, each with its terminator; the rest of
// `bytes` follows unchanged.
std::string strings_to_utf16(std::string_view bytes, std::uint8_t encoding, std::size_t count) {
    std::string out;
    std::size_t at = 0;
    for (std::size_t n = 0; n < count && at < bytes.size(); ++n) {
        std::size_t after = 0;
        const std::size_t end = string_end(bytes, at, encoding, after);
        const std::string_view text = bytes.substr(at, end - at);
        if (encoding == 3) {
            out += utf16_with_mark(text);
        } else {
            out += "\xFE\xFF";  // big-endian units keep their order behind a mark
            out += text;
        }
        if (after > end) out += std::string(2, '\0');
        at = after;
    }
    out += bytes.substr(at);
    return out;
}

// How many encoded strings follow the fixed fields of a frame that starts
// with an encoding byte, and how many bytes of fixed fields come first.
// nullopt for a frame whose texts this code does not know how to convert.
struct TextLayout {
    std::size_t skip;   // bytes after the encoding byte before the first string
    std::size_t count;  // strings in the encoding
};

std::optional<TextLayout> text_layout(std::string_view id, std::string_view payload) {
    constexpr std::size_t all = static_cast<std::size_t>(-1);
    if (id[0] == 'T' || id == "IPLS") return TextLayout{0, all};
    if (id == "WXXX") return TextLayout{0, 1};
    if (id == "COMM" || id == "USLT") return TextLayout{3, all};
    if (id == "USER") return TextLayout{3, 1};
    if (id == "APIC" || id == "GEOB") {
        const std::size_t mime_end = payload.find('\0');
        if (mime_end == std::string_view::npos) return std::nullopt;
        if (id == "APIC") return TextLayout{mime_end + 2, 1};  // MIME, picture type
        return TextLayout{mime_end + 1, 2};                    // MIME; file name, description
    }
    return std::nullopt;
}

// Frames whose data begins with a text encoding byte.
bool has_encoding_byte(std::string_view id) {
    static constexpr std::array<std::string_view, 9> ids = {"COMM", "USLT", "SYLT", "USER", "APIC",
                                                            "GEOB", "COMR", "OWNE", "IPLS"};
    return (id[0] == 'T' || id == "WXXX" || std::find(ids.begin(), ids.end(), id) != ids.end());
}

// Turns version 2.4 texts (UTF-8, UTF-16BE) into encoding 1; false when the
// frame holds such texts in a layout not known here.
bool convert_texts(TagFrame& frame, std::size_t group_bytes) {
    if (!has_encoding_byte(frame.id) || frame.data.size() <= group_bytes) return true;
    const std::uint8_t encoding = byte_at(frame.data, group_bytes);
    if (encoding != 2 && encoding != 3) return true;
    const std::string_view payload = std::string_view(frame.data).substr(group_bytes + 1);
    const std::optional<TextLayout> layout = text_layout(frame.id, payload);
    if (!layout || layout->skip > payload.size()) return false;
    std::string data = frame.data.substr(0, group_bytes);
    data += '\x01';
    data += payload.substr(0, layout->skip);
    data += strings_to_utf16(payload.substr(layout->skip), encoding, layout->count);
    frame.data = std::move(data);
    return true;
}

// --- Several values ------------------------------------------------------

// `text` (a string of encoding 1) as little-endian code units without a
// byte-order mark.
std::string little_endian_units(std::string_view text) {
    if (text.substr(0, 2) == "\xFF\xFE") return std::string(text.substr(2));
    if (text.substr(0, 2) != "\xFE\xFF") return std::string(text);
    std::string units(text.substr(2));
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) std::swap(units[i], units[i + 1]);
    return units;
}

// The strings of `bytes` in `encoding` (0, or 1 given as little-endian
// units without a mark), split at their terminators; a terminator at the
// very end ends the last string and starts no other.
std::vector<std::string> split_values(std::string_view bytes, std::uint8_t encoding) {
    std::vector<std::string> values;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t after = 0;
        const std::size_t end = string_end(bytes, at, encoding, after);
        const std::string_view value = bytes.substr(at, end - at);
        values.push_back(encoding == 1 ? little_endian_units(value) : std::string(value));
        at = after;
    }
    return values;
}

// Encoding-0 strings as little-endian UTF-16 units (Latin-1, as ID3 defines it).
void widen(std::vector<std::string>& values) {
    for (std::string& value : values) {
        std::string units;
        for (const char c : value) {
            units += c;
            units += '\0';
        }
        value = std::move(units);
    }
}

// Version 2.4 text frames hold several values separated by terminators;
// version 2.3 has one text, where they are joined by "/".
void join_values(TagFrame& frame, std::size_t group_bytes) {
    if (frame.id[0] != 'T' || frame.id == "TXXX" || frame.data.size() <= group_bytes) return;
    const std::uint8_t encoding = byte_at(frame.data, group_bytes);
    if (encoding > 1) return;
    const std::vector<std::string> values =
        split_values(std::string_view(frame.data).substr(group_bytes + 1), encoding);
    if (values.size() < 2) return;
    std::string data = frame.data.substr(0, group_bytes + 1);
    if (encoding == 1) data += "\xFF\xFE";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) data += encoding == 1 ? std::string("/\0", 2) : std::string("/");
        data += values[i];
    }
    frame.data = std::move(data);
}

// TIPL and TMCL both become IPLS, of which version 2.3 allows one: the
// pairs of the later ones are added to the first.
void merge_people_lists(std::vector<TagFrame>& frames) {
    const auto is_list = [](const TagFrame& f) {
        return f.id == "IPLS" && f.convertible && f.format == 0 && !f.data.empty() &&
               static_cast<std::uint8_t>(f.data[0]) <= 1;
    };
    const auto first = std::find_if(frames.begin(), frames.end(), is_list);
    if (first == frames.end()) return;
    std::uint8_t encoding = byte_at(first->data, 0);
    std::vector<std::string> values =
        split_values(std::string_view(first->data).substr(1), encoding);
    bool merged = false;
    for (auto other = first + 1; other != frames.end();) {
        if (!is_list(*other)) {
            ++other;
            continue;
        }
        const std::uint8_t other_encoding = byte_at(other->data, 0);
        std::vector<std::string> more =
            split_values(std::string_view(other->data).substr(1), other_encoding);
        if (encoding != other_encoding) {
            widen(encoding == 0 ? values : more);
            encoding = 1;
        }
        values.insert(values.end(), more.begin(), more.end());
        other = frames.erase(other);
        merged = true;
    }
    if (!merged) return;
    std::string data(1, static_cast<char>(encoding));
    for (const std::string& value : values) {
        if (encoding == 1) data += "\xFF\xFE";
        data += value;
        data += encoding == 1 ? std::string(2, '\0') : std::string(1, '\0');
    }
    first->data = std::move(data);
}

// --- Version 2.4 ---------------------------------------------------------

TagFrame from_v24(std::string_view id, char status, char format, std::string_view raw,
                  bool tag_unsynchronised);

// Where the sub-frames of a chapter (CHAP) or a table of contents (CTOC)
// start in its data: after the element id and the times and offsets, or
// the flags and the child element ids. npos where the data ends first.
std::size_t sub_frames_at(std::string_view id, std::string_view data) {
    std::size_t at = data.find('\0');
    if (at == std::string_view::npos) return std::string_view::npos;
    ++at;
    if (id == "CHAP") return at + 16 <= data.size() ? at + 16 : std::string_view::npos;
    if (at + 2 > data.size()) return std::string_view::npos;
    std::size_t children = byte_at(data, at + 1);
    for (at += 2; children > 0; --children) {
        const std::size_t end = data.find('\0', at);
        if (end == std::string_view::npos) return std::string_view::npos;
        at = end + 1;
    }
    return at;
}

// A version 2.4 chapter's sub-frames in version 2.3 form, like the tag's
// own frames; they stay byte for byte where they do not walk with
// syncsafe sizes exactly to the data's end or one has no version 2.3 form.
void convert_sub_frames(TagFrame& frame) {
    const std::string_view data = frame.data;
    const std::size_t start = sub_frames_at(frame.id, data);
    if (start == std::string_view::npos) return;
    std::string converted(data.substr(0, start));
    std::size_t at = start;
    while (at + 10 <= data.size()) {
        const std::string_view id = data.substr(at, 4);
        const std::optional<std::uint32_t> size = syncsafe(data.substr(at + 4, 4));
        const bool is_id = std::all_of(id.begin(), id.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        });
        if (!is_id || !size || *size > data.size() - at - 10) return;
        const TagFrame sub =
            from_v24(id, data[at + 8], data[at + 9], data.substr(at + 10, *size), false);
        if (!sub.convertible) return;
        converted += frame_bytes(sub);
        at += 10 + *size;
    }
    if (at != data.size()) return;
    frame.data = std::move(converted);
}

TagFrame from_v24(std::string_view id, char status, char format, std::string_view raw,
                  bool tag_unsynchronised) {
    TagFrame frame{std::string(id), 0, 0, std::string(raw), true};
    const auto flags = static_cast<std::uint8_t>(format);
    if (flags & 0x0C) {  // compressed or encrypted
        frame.convertible = false;
        return frame;
    }
    if (id == "SEEK" || id == "ASPI") {  // offsets into the old layout
        frame.convertible = false;
        return frame;
    }
    if ((flags & 0x02) || tag_unsynchronised) frame.data = undo_unsynchronisation(frame.data);
    const std::size_t group_bytes = (flags & 0x40) ? 1 : 0;
    if ((flags & 0x01) && frame.data.size() >= group_bytes + 4)
        frame.data.erase(group_bytes, 4);  // data length indicator
    frame.status = static_cast<char>((static_cast<std::uint8_t>(status) & 0x70) << 1);
    frame.format = static_cast<char>(group_bytes ? 0x20 : 0);
    if (id == "TDOR") frame.id = "TORY";
    if (id == "TIPL" || id == "TMCL") frame.id = "IPLS";
    frame.convertible = convert_texts(frame, group_bytes);
    if (frame.convertible) join_values(frame, group_bytes);
    if ((id == "CHAP" || id == "CTOC") && group_bytes == 0) convert_sub_frames(frame);
    if (frame.id == "TORY" && frame.convertible) {
        // Only the year: "1999-05-01" becomes "1999".
        const std::size_t text_at = group_bytes + 1 + (byte_at(frame.data, group_bytes) ? 2 : 0);
        const std::size_t unit = byte_at(frame.data, group_bytes) ? 2 : 1;
        frame.data = frame.data.substr(0, std::min(frame.data.size(), text_at + 4 * unit));
    }
    return frame;
}

// --- Version 2.2 -----------------------------------------------------------

constexpr std::array<std::pair<std::string_view, std::string_view>, 71> v22_ids = {{
    {"BUF", "RBUF"}, {"CNT", "PCNT"}, {"COM", "COMM"}, {"CRA", "AENC"}, {"ETC", "ETCO"},
    {"EQU", "EQUA"}, {"GEO", "GEOB"}, {"IPL", "IPLS"}, {"MCI", "MCDI"}, {"MLL", "MLLT"},
    {"PIC", "APIC"}, {"POP", "POPM"}, {"REV", "RVRB"}, {"RVA", "RVAD"}, {"SLT", "SYLT"},
    {"STC", "SYTC"}, {"TAL", "TALB"}, {"TBP", "TBPM"}, {"TCM", "TCOM"}, {"TCO", "TCON"},
    {"TCR", "TCOP"}, {"TDA", "TDAT"}, {"TDY", "TDLY"}, {"TEN", "TENC"}, {"TFT", "TFLT"},
    {"TIM", "TIME"}, {"TKE", "TKEY"}, {"TLA", "TLAN"}, {"TLE", "TLEN"}, {"TMT", "TMED"},
    {"TOA", "TOPE"}, {"TOF", "TOFN"}, {"TOL", "TOLY"}, {"TOR", "TORY"}, {"TOT", "TOAL"},
    {"TP1", "TPE1"}, {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TP4", "TPE4"}, {"TPA", "TPOS"},
    {"TPB", "TPUB"}, {"TRC", "TSRC"}, {"TRD", "TRDA"}, {"TRK", "TRCK"}, {"TSI", "TSIZ"},
    {"TSS", "TSSE"}, {"TT1", "TIT1"}, {"TT2", "TIT2"}, {"TT3", "TIT3"}, {"TXT", "TEXT"},
    {"TXX", "TXXX"}, {"TYE", "TYER"}, {"UFI", "UFID"}, {"ULT", "USLT"}, {"WAF", "WOAF"},
    {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"}, {"WCP", "WCOP"}, {"WPB", "WPUB"},
    {"WXX", "WXXX"}, {"TCP", "TCMP"}, {"TS2", "TSO2"}, {"TSA", "TSOA"}, {"TSC", "TSOC"},
    {"TSP", "TSOP"}, {"TST", "TSOT"}, {"TDR", "TDRL"}, {"PCS", "PCST"}, {"TID", "TGID"},
    {"WFD", "WFED"},
}};

std::string mime_of(std::string_view format) {
    std::string lower(format);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (lower == "jpg") return "image/jpeg";
    if (lower == "-->") return "-->";
    return "image/" + lower;
}

TagFrame from_v22(std::string_view id, std::string_view data) {
    const auto found = std::find_if(v22_ids.begin(), v22_ids.end(),
                                    [id](const auto& pair) { return pair.first == id; });
    if (found == v22_ids.end()) return TagFrame{std::string(id), 0, 0, std::string(data), false};
    TagFrame frame{std::string(found->second), 0, 0, std::string(data), true};
    if (id == "PIC" && data.size() >= 5) {
        // encoding, 3-letter image format, picture type, description, data
        frame.data = std::string(data.substr(0, 1)) + mime_of(data.substr(1, 3)) + '\0' +
                     std::string(data.substr(4));
    }
    return frame;
}

}  // namespace

std::string undo_unsynchronisation(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (bytes[i] == '\xFF' && i + 1 < bytes.size() && bytes[i + 1] == '\0') ++i;
    }
    return out;
}

std::vector<TagFrame> read_frames(std::string_view tag) {
    const std::optional<FrameList> list = walk_id3v2_frames(tag);
    return list ? convert_frames(*list) : std::vector<TagFrame>{};
}

TagFrame convert_frame(const FrameList& list, const FrameSpan& span) {
    const std::string_view id = list.id(span);
    const std::string_view data = list.data(span);
    const auto status = static_cast<char>(list.status(span));
    const auto format = static_cast<char>(list.format(span));
    if (list.major == 2) return from_v22(id, data);
    if (list.major == 3) return TagFrame{std::string(id), status, format, std::string(data)};
    return from_v24(id, status, format, data, list.flags & 0x80);
}

std::vector<TagFrame> convert_frames(const FrameList& list) {
    std::vector<TagFrame> frames;
    frames.reserve(list.frames.size());
    for (const FrameSpan& span : list.frames) frames.push_back(convert_frame(list, span));
    if (list.major == 4) merge_people_lists(frames);
    return frames;
}

std::string_view tag_id(std::uint8_t major, std::string_view id) {
    if (major != 2) return id;
    const auto found = std::find_if(v22_ids.begin(), v22_ids.end(),
                                    [id](const auto& pair) { return pair.second == id; });
    return found == v22_ids.end() ? std::string_view() : found->first;
}

std::string frame_bytes(const TagFrame& frame) {
    std::string out = frame.id;
    const auto size = static_cast<std::uint32_t>(frame.data.size());
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((size >> shift) & 0xFF);
    out += frame.status;
    out += frame.format;
    out += frame.data;
    return out;
}

std::string utf16_with_mark(std::string_view utf8) {
    std::string out = "\xFF\xFE";
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<std::uint32_t> code = next_code_point(utf8, at);
        if (!code) continue;
        if (*code < 0x10000) {
            put_utf16le(out, *code);
        } else {
            const std::uint32_t value = *code - 0x10000;
            put_utf16le(out, 0xD800 | (value >> 10));
            put_utf16le(out, 0xDC00 | (value & 0x3FF));
        }
    }
    return out;
}

}  // namespace varnel
