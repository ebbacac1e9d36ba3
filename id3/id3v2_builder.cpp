// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/id3v2_builder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "id3/id3v2_frames.h"
#include "id3/id3v2_reader.h"

namespace varnel {
namespace {

constexpr std::uint64_t max_syncsafe = (1u << 28) - 1;

// One of the twelve frames the writer produces.
struct Slot {
    std::string_view id;
    std::string TagFields::*field;
};

constexpr std::array<Slot, 12> slots = {{
    {"TRCK", &TagFields::track},
    {"TENC", &TagFields::encoder},
    {"WXXX", &TagFields::url},
    {"TCOP", &TagFields::copyright},
    {"TOPE", &TagFields::original_artist},
    {"TCOM", &TagFields::composer},
    {"COMM", &TagFields::comment},
    {"TCON", &TagFields::genre},
    {"TYER", &TagFields::year},
    {"TALB", &TagFields::album},
    {"TPE1", &TagFields::artist},
    {"TIT2", &TagFields::title},
}};

// The text of `text` in encoding 1 or 0, as frame data after the encoding
// byte: UTF-16 with a mark, or the code-page bytes.
std::string encoded(std::string_view text, bool unicode, const Codec& codec) {
    if (!unicode) return std::string(text);
    return utf16_with_mark(codec.to_utf8_lossy(text));
}

// A new frame for `text` in the writer's fixed layout: encoding byte, the
// prefix of its kind (COMM: language and empty description, WXXX: empty
// description), the text. URLs are single-byte text in any encoding.
TagFrame new_frame(std::string_view id, std::string_view text, bool unicode, const Codec& codec) {
    TagFrame frame{std::string(id), id == "TENC" ? '\x40' : '\0', 0, {}, true};
    if (id == "WXXX") {
        frame.data = std::string("\0\0", 2) + std::string(text);
        return frame;
    }
    frame.data = unicode ? "\x01" : std::string(1, '\0');
    if (id == "COMM")
        frame.data += "CHS" + encoded("", unicode, codec) +
                      (unicode ? std::string(2, '\0') : std::string(1, '\0'));
    frame.data += encoded(text, unicode, codec);
    return frame;
}

// Index of the first frame with `id` not yet used; nullopt when none.
std::optional<std::size_t> first_unused(const std::vector<TagFrame>& frames,
                                        const std::vector<bool>& used, std::string_view id) {
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (!used[i] && frames[i].id == id) return i;
    return std::nullopt;
}

bool unchanged(const Slot& slot, const std::string& text, const std::string& old_text) {
    if (text == old_text) return true;
    return slot.id == "TCON" && !old_text.empty() && text == resolve_genre_text(old_text);
}

// Marks every other frame with `id` as used: an edited field leaves no
// second frame of its id behind.
void use_all(const std::vector<TagFrame>& frames, std::vector<bool>& used, std::string_view id) {
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (frames[i].id == id) used[i] = true;
}

// "YYYY-MM-DDTHH:MM..." of a TDRC frame: TDAT "DDMM" and TIME "HHMM" frames
// for what it holds, in the TDRC frame's encoding.
void date_frames(const std::string& date, const TagFrame& source,
                 const std::vector<TagFrame>& frames, std::string& out, const Codec& codec) {
    const bool unicode = !source.data.empty() && source.data[0] != '\0';
    const auto has = [&frames](std::string_view id) {
        return std::any_of(frames.begin(), frames.end(),
                           [id](const TagFrame& f) { return f.id == id; });
    };
    if (date.size() >= 10 && date[4] == '-' && date[7] == '-' && !has("TDAT"))
        out +=
            frame_bytes(new_frame("TDAT", date.substr(8, 2) + date.substr(5, 2), unicode, codec));
    if (date.size() >= 16 && date[10] == 'T' && date[13] == ':' && !has("TIME"))
        out +=
            frame_bytes(new_frame("TIME", date.substr(11, 2) + date.substr(14, 2), unicode, codec));
}

// The year of the first unused TDRC frame where its text is a date.
std::optional<std::string> tdrc_year(const std::vector<TagFrame>& frames,
                                     const std::vector<bool>& used, const Codec& codec) {
    const std::optional<std::size_t> index = first_unused(frames, used, "TDRC");
    if (!index || !frames[*index].convertible) return std::nullopt;
    std::string year = year_of_date(frame_text(frames[*index], codec));
    if (year.empty()) return std::nullopt;
    return year;
}

}  // namespace

BuiltFrames build_id3v2_frames(const TagFields& fields, std::string_view old_tag,
                               const V2WriteOptions& options, const Codec& codec) {
    const std::vector<TagFrame> old = read_frames(old_tag);
    const bool v24 = old_tag.size() > 3 && old_tag[3] == 4;
    std::vector<bool> used(old.size(), false);
    const bool unicode = options.encoding == V2TextEncoding::unicode;
    BuiltFrames built;
    std::string dates;
    for (const Slot& slot : slots) {
        const std::string& text = fields.*slot.field;
        std::optional<std::size_t> index = first_unused(old, used, slot.id);
        // A TDRC holding no date ("Oct 3, 1995") stays as it is.
        const bool from_tdrc =
            !index && slot.id == "TYER" && v24 && tdrc_year(old, used, codec).has_value();
        if (from_tdrc) index = first_unused(old, used, "TDRC");
        if (!index || !old[*index].convertible) {
            built.frames += frame_bytes(new_frame(slot.id, text, unicode, codec));
            continue;
        }
        used[*index] = true;
        const TagFrame& was = old[*index];
        const std::string old_text = frame_text(was, codec);
        if (from_tdrc) {
            const bool keep = text == old_text.substr(0, 4);
            const bool was_unicode = !was.data.empty() && was.data[0] != '\0';
            built.frames +=
                frame_bytes(new_frame("TYER", text, keep ? was_unicode : unicode, codec));
            date_frames(old_text, was, old, dates, codec);
        } else if (unchanged(slot, text, old_text)) {
            built.frames += frame_bytes(was);
        } else {
            built.frames += frame_bytes(new_frame(slot.id, text, unicode, codec));
            if (slot.id[0] == 'T') use_all(old, used, slot.id);
        }
    }
    built.frames += dates;
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (used[i]) continue;
        if (old[i].convertible)
            built.frames += frame_bytes(old[i]);
        else
            built.unconvertible.push_back(old[i].id);
    }
    return built;
}

std::string wrap_id3v2_tag(std::string_view frames, std::size_t padding) {
    const std::uint64_t size = frames.size() + static_cast<std::uint64_t>(padding);
    if (size > max_syncsafe) return {};
    std::string tag = "ID3";
    tag += '\x03';
    tag += '\0';
    tag += '\0';
    for (int shift = 21; shift >= 0; shift -= 7) tag += static_cast<char>((size >> shift) & 0x7F);
    tag.reserve(tag.size() + static_cast<std::size_t>(size));
    tag += frames;
    tag.append(padding, '\0');
    return tag;
}

}  // namespace varnel
