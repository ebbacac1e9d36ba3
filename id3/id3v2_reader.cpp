// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/id3v2_reader.h"

#include <algorithm>
#include <array>

#include "id3/genres.h"
#include "id3/id3v2_frames.h"
#include "id3/id3v2_walk.h"
#include "id3/tag_bytes.h"
#include "id3/tag_extent.h"
#include "platform/code_page_chars.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

// Enough for the tag this program writes and for most tags without
// pictures, so that a file usually costs one read. Positioned reads spare
// the seeks: the tag rule reads thousands of files.
constexpr std::size_t first_read_size = 4096;

// The tag length the header at the start of `head` declares; nullopt when
// `head` does not start with a valid header.
std::optional<std::uint32_t> declared_tag_length(std::string_view head) {
    if (head.size() < id3v2_header_size || head.substr(0, 3) != "ID3") return std::nullopt;
    for (std::size_t i = 3; i < 6; ++i)
        if (byte_at(head, i) == 0xFF) return std::nullopt;
    const std::optional<std::uint32_t> size = syncsafe(head.substr(6, 4));
    if (!size) return std::nullopt;
    return *size + static_cast<std::uint32_t>(id3v2_header_size);
}

// --- Decoding a frame's text -----------------------------------------------

enum Encoding : std::uint8_t { latin1 = 0, utf16_with_bom = 1, utf16_big_endian = 2, utf8 = 3 };

bool is_utf16(std::uint8_t encoding) {
    return encoding == utf16_with_bom || encoding == utf16_big_endian;
}

// Offset of the first 00 00 code unit at or after `from`, counted in whole
// code units from `from`; npos when there is none.
std::size_t find_utf16_terminator(std::string_view bytes, std::size_t from) {
    for (std::size_t i = from; i + 1 < bytes.size(); i += 2)
        if (bytes[i] == '\0' && bytes[i + 1] == '\0') return i;
    return std::string_view::npos;
}

// Text in the given byte order up to its terminator. A leading U+FEFF is a
// stray byte-order mark, not text.
std::string decode_utf16(std::string_view bytes, bool big_endian, const Codec& codec) {
    bytes = bytes.substr(0, find_utf16_terminator(bytes, 0));
    const std::string_view mark = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    if (bytes.size() >= 2 && bytes.substr(0, 2) == mark) bytes.remove_prefix(2);
    return codec.from_utf16_lossy(bytes, big_endian);
}

// Text of encoding 0x00 (kept as its bytes: legacy files carry GBK there)
// or 0x03 (UTF-8), up to its terminator.
std::string decode_single_byte(std::string_view bytes, std::uint8_t encoding, const Codec& codec) {
    bytes = bytes.substr(0, bytes.find('\0'));
    if (encoding == utf8) return codec.from_utf8_lossy(bytes);
    return std::string(bytes);
}

// Where the text starts when the frame's prefix (encoding byte, and for a
// comment the language and the description) is skipped. Used where no
// byte-order mark shows the start.
std::size_t text_start(std::string_view data, bool is_comment, std::uint8_t encoding) {
    if (!is_comment) return 1;
    constexpr std::size_t description_at = 4;  // encoding byte, 3-byte language
    const std::size_t end = is_utf16(encoding) ? find_utf16_terminator(data, description_at)
                                               : data.find('\0', description_at);
    if (end == std::string_view::npos) return std::min(description_at, data.size());
    return end + (is_utf16(encoding) ? 2 : 1);
}

// Encoding 0x01 text: the byte-order mark at the start of the text decides
// its byte order (a mark anywhere else is a character of the text). Without
// a mark the text is taken as little-endian (the byte order of the writers
// that omit it), unless its first code unit reads as an ASCII character
// written big-endian.
std::string decode_utf16_with_bom(std::string_view data, bool is_comment, const Codec& codec) {
    const std::string_view text =
        data.substr(std::min(text_start(data, is_comment, utf16_with_bom), data.size()));
    if (text.size() >= 2 && (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF"))
        return decode_utf16(text.substr(2), text[0] == '\xFE', codec);
    const bool big_endian = text.size() >= 2 && text[0] == '\0' && text[1] != '\0';
    return decode_utf16(text, big_endian, codec);
}

// A URL frame: encoding byte, description in that encoding, then the URL,
// which is always single-byte text whatever the encoding byte says.
std::string decode_url(std::string_view data) {
    const std::uint8_t encoding = byte_at(data, 0);
    const std::size_t end =
        is_utf16(encoding) ? find_utf16_terminator(data, 1) : data.find('\0', 1);
    const std::size_t url_at =
        end == std::string_view::npos ? 1 : end + (is_utf16(encoding) ? 2 : 1);
    const std::string_view url = data.substr(std::min(url_at, data.size()));
    return std::string(url.substr(0, url.find('\0')));
}

std::string decode_frame(std::string_view data, char id_kind, const Codec& codec) {
    if (data.empty()) return {};
    if (id_kind == 'W') return decode_url(data);
    const bool is_comment = id_kind != 'T';
    const std::uint8_t encoding = byte_at(data, 0);
    if (encoding == utf16_with_bom) return decode_utf16_with_bom(data, is_comment, codec);
    const std::string_view text =
        data.substr(std::min(text_start(data, is_comment, encoding), data.size()));
    if (encoding == utf16_big_endian) return decode_utf16(text, true, codec);
    return decode_single_byte(text, encoding, codec);
}

// --- Genre text ------------------------------------------------------------

std::size_t find_last_char(std::string_view text, char wanted) {
    std::size_t found = std::string_view::npos;
    for (std::size_t at = 0; at < text.size(); at += char_size_at(text, at))
        if (text[at] == wanted) found = at;
    return found;
}

// `from` must be the start of a character.
std::size_t find_char(std::string_view text, char wanted, std::size_t from) {
    for (std::size_t at = from; at < text.size(); at += char_size_at(text, at))
        if (text[at] == wanted) return at;
    return std::string_view::npos;
}

int leading_number(std::string_view digits) {
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
    }
    return value;
}

// --- The record ------------------------------------------------------------

struct FrameField {
    std::string_view id;
    std::string TagFields::*field;
};

// A version 2.2 tag's frames come under these ids too (convert_frames).
constexpr std::array<FrameField, 12> frame_fields = {{
    {"TIT2", &TagFields::title},
    {"TPE1", &TagFields::artist},
    {"TALB", &TagFields::album},
    {"TYER", &TagFields::year},
    {"TRCK", &TagFields::track},
    {"TCON", &TagFields::genre},
    {"COMM", &TagFields::comment},
    {"TOPE", &TagFields::original_artist},
    {"TCOP", &TagFields::copyright},
    {"TCOM", &TagFields::composer},
    {"WXXX", &TagFields::url},
    {"TENC", &TagFields::encoder},
}};

// The text of the first frame with the version 2.3 id `id`, else of the
// frame cut by the tag's end when it has that id.
std::string first_frame_text(const FrameList& list, std::string_view id, const Codec& codec) {
    id = tag_id(list.major, id);
    if (id.empty()) return {};
    const auto found = std::find_if(list.frames.begin(), list.frames.end(),
                                    [&](const FrameSpan& f) { return list.id(f) == id; });
    if (found != list.frames.end()) return frame_text(convert_frame(list, *found), codec);
    if (list.cut && list.id(*list.cut) == id)
        return frame_text(convert_frame(list, *list.cut), codec);
    return {};
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// The text of `span` (none: empty).
std::string span_text(const FrameList& list, const FrameSpan* span, const Codec& codec) {
    return span ? frame_text(convert_frame(list, *span), codec) : std::string();
}

void fill_fields(const FrameList& list, TagFields& fields, const Codec& codec) {
    // One pass finds the first frame of each field (and TDRC, last).
    std::array<const FrameSpan*, frame_fields.size() + 1> first{};
    // Ids as numbers: half a million frames cost one comparison each.
    std::array<std::uint32_t, frame_fields.size() + 1> ids{};
    for (std::size_t i = 0; i < ids.size(); ++i)
        ids[i] =
            big_endian(tag_id(list.major, i < frame_fields.size() ? frame_fields[i].id : "TDRC"));
    std::size_t missing = first.size();
    const auto note = [&](const FrameSpan& span) {
        const std::uint32_t id = big_endian(list.id(span));
        for (std::size_t i = 0; i < first.size(); ++i)
            if (id == ids[i] && !first[i] && ids[i] != 0) {
                first[i] = &span;
                --missing;
            }
    };
    for (auto span = list.frames.begin(); missing > 0 && span != list.frames.end(); ++span)
        note(*span);
    if (list.cut) note(*list.cut);
    for (std::size_t i = 0; i < frame_fields.size(); ++i)
        fields.*frame_fields[i].field = span_text(list, first[i], codec);
    // Version 2.4 replaced TYER by the recording time TDRC ("2014-05-01"):
    // its year stands for the missing TYER.
    if (list.major == 4 && fields.year.empty())
        fields.year = year_of_date(span_text(list, first.back(), codec));
    if (!fields.genre.empty()) fields.genre = resolve_genre_text(fields.genre);
}

// The tag bytes: the first `length` bytes of the file, fewer when the file
// is shorter, and beyond the first MiB only as far as the frames reach
// (read_tag_bytes). `head` holds the first `got` bytes of the file;
// `storage` receives a larger tag.
std::string_view whole_tag(ByteFile& file, const std::array<char, first_read_size>& head,
                           std::size_t got, std::uint32_t length, std::string& storage) {
    if (length <= got) return {head.data(), length};
    if (got < head.size()) return {head.data(), got};  // the file ends inside the tag
    std::optional<std::string> bytes = read_tag_bytes(file, length);
    // The file may have shrunk since the first read.
    if (!bytes || bytes->size() < got) return {head.data(), got};
    storage = std::move(*bytes);
    return storage;
}

}  // namespace

bool has_id3v2_header(ByteFile& file) {
    return id3v2_tag_length(file).has_value();
}

std::optional<std::uint32_t> id3v2_tag_length(ByteFile& file) {
    std::array<char, id3v2_header_size> head{};
    const Result<std::size_t> got = file.read_at(head.data(), head.size(), 0);
    if (!got) return std::nullopt;
    return declared_tag_length({head.data(), *got});
}

bool read_id3v2_tag(ByteFile& file, TagFields& fields, const Codec& codec) {
    std::array<char, first_read_size> head;
    const Result<std::size_t> got = file.read_at(head.data(), head.size(), 0);
    if (!got) return false;
    const std::optional<std::uint32_t> length = declared_tag_length({head.data(), *got});
    if (!length) return false;
    std::string storage;
    const std::optional<FrameList> list =
        walk_id3v2_frames(whole_tag(file, head, *got, *length, storage));
    if (list)
        fill_fields(*list, fields, codec);
    else
        fields = TagFields{};  // a version this program does not know: no field
    return true;
}

std::string find_frame_text(std::string_view tag, std::string_view id, const Codec& codec) {
    const std::optional<FrameList> list = walk_id3v2_frames(tag);
    return list ? first_frame_text(*list, id, codec) : std::string();
}

std::string frame_text(const TagFrame& frame, const Codec& codec) {
    if (!frame.convertible || frame.id.empty()) return {};
    const auto format = static_cast<std::uint8_t>(frame.format);
    if (format & 0xC0) return {};  // compressed or encrypted
    const std::string_view data = std::string_view(frame.data).substr((format & 0x20) ? 1 : 0);
    return decode_frame(data, frame.id[0], codec);
}

std::string year_of_date(std::string_view date) {
    if (date.size() < 4 || !std::all_of(date.begin(), date.begin() + 4, is_digit)) return {};
    if (date.size() > 4 && date[4] != '-' && date[4] != 'T') return {};
    return std::string(date.substr(0, 4));
}

std::string resolve_genre_text(std::string_view text) {
    // A bare number ("35", as version 2.4 writes it) is a genre number too.
    if (!text.empty() && text.size() <= 3 && std::all_of(text.begin(), text.end(), is_digit)) {
        const std::string_view name = genre_name(leading_number(text));
        return name.empty() ? std::string(text) : std::string(name);
    }
    const std::size_t open = find_last_char(text, '(');
    const std::size_t close = find_char(text, ')', open == std::string_view::npos ? 0 : open);
    if (close == std::string_view::npos)
        return std::string(open == std::string_view::npos ? text : text.substr(open + 1));
    const std::size_t inside_at = open == std::string_view::npos ? 0 : open + 1;
    // Four or more bytes between the brackets: words, not a genre number.
    if (close - inside_at >= 4) return std::string(text.substr(close + 1));
    const std::string_view name =
        genre_name(leading_number(text.substr(inside_at, close - inside_at)));
    // A number without a name ("(255)") stays as the file has it.
    return name.empty() ? std::string(text) : std::string(name);
}

}  // namespace varnel
