// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/id3v2_reader.h"

#include <algorithm>
#include <array>

#include "id3/genres.h"
#include "id3/id3v2_frames.h"
#include "id3/tag_bytes.h"
#include "platform/code_page_chars.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

constexpr std::size_t header_size = 10;
// Enough for the tag this program writes and for most tags without
// pictures, so that a file usually costs one read. Positioned reads spare
// the seeks: the tag rule reads thousands of files.
constexpr std::size_t first_read_size = 4096;
constexpr std::size_t npos = std::string_view::npos;

// The tag length the header at the start of `head` declares; nullopt when
// `head` does not start with a valid header.
std::optional<std::uint32_t> declared_tag_length(std::string_view head) {
    if (head.size() < header_size || head.substr(0, 3) != "ID3") return std::nullopt;
    for (std::size_t i = 3; i < 6; ++i)
        if (byte_at(head, i) == 0xFF) return std::nullopt;
    const std::optional<std::uint32_t> size = syncsafe(head.substr(6, 4));
    if (!size) return std::nullopt;
    return *size + static_cast<std::uint32_t>(header_size);
}

// --- Finding a frame's data ------------------------------------------------

bool is_frame_id_char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Whether a frame ending at `end` is followed by what may follow a frame:
// another frame's id, padding, or the end of the tag.
bool lands_on_frame_boundary(std::string_view tag, std::size_t end) {
    if (end == tag.size()) return true;
    if (end > tag.size()) return false;
    if (tag[end] == '\0') return true;
    return end + 4 <= tag.size() &&
           std::all_of(tag.begin() + static_cast<std::ptrdiff_t>(end),
                       tag.begin() + static_cast<std::ptrdiff_t>(end + 4), is_frame_id_char);
}

// Size of the four-letter-id frame at `at`. Version 2.4 sizes are
// syncsafe, but some writers put plain sizes there: the syncsafe reading is
// kept only where it ends on a frame boundary. nullopt for a plain size
// with the top bit set.
std::optional<std::uint64_t> frame_size(std::string_view tag, std::size_t at, bool version_2_4) {
    const std::string_view size_bytes = tag.substr(at + 4, 4);
    if (const std::optional<std::uint32_t> size = syncsafe(size_bytes); version_2_4 && size) {
        if (lands_on_frame_boundary(tag, at + header_size + *size)) return *size;
    }
    const std::uint32_t plain = big_endian(size_bytes);
    if (plain & 0x80000000u) return std::nullopt;
    return plain;
}

std::string_view data_after(std::string_view tag, std::size_t start, std::uint64_t size) {
    return tag.substr(start,
                      static_cast<std::size_t>(std::min<std::uint64_t>(size, tag.size() - start)));
}

// The data of the first occurrence of `id` in the tag bytes, cut at their
// end. Three-letter ids are version 2.2 frames: three-byte id, three-byte
// size, no flags.
std::string_view find_frame_data(std::string_view tag, std::string_view id) {
    const std::size_t at = tag.find(id);
    if (at == npos) return {};
    if (id.size() == 3) {
        if (at + 6 > tag.size()) return {};
        return data_after(tag, at + 6, big_endian(tag.substr(at + 3, 3)));
    }
    if (at + header_size > tag.size()) return {};
    const bool version_2_4 = tag.size() > 3 && tag.substr(0, 3) == "ID3" && tag[3] == 4;
    const std::optional<std::uint64_t> size = frame_size(tag, at, version_2_4);
    if (!size) return {};
    return data_after(tag, at + header_size, *size);
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
    return npos;
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
    if (end == npos) return std::min(description_at, data.size());
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
    const std::size_t url_at = end == npos ? 1 : end + (is_utf16(encoding) ? 2 : 1);
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
    std::size_t found = npos;
    for (std::size_t at = 0; at < text.size(); at += char_size_at(text, at))
        if (text[at] == wanted) found = at;
    return found;
}

// `from` must be the start of a character.
std::size_t find_char(std::string_view text, char wanted, std::size_t from) {
    for (std::size_t at = from; at < text.size(); at += char_size_at(text, at))
        if (text[at] == wanted) return at;
    return npos;
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
    std::string_view id;      // versions 2.3 and 2.4
    std::string_view id_2_2;  // version 2.2
    std::string TagFields::*field;
};

constexpr std::array<FrameField, 12> frame_fields = {{
    {"TIT2", "TT2", &TagFields::title},
    {"TPE1", "TP1", &TagFields::artist},
    {"TALB", "TAL", &TagFields::album},
    {"TYER", "TYE", &TagFields::year},
    {"TRCK", "TRK", &TagFields::track},
    {"TCON", "TCO", &TagFields::genre},
    {"COMM", "COM", &TagFields::comment},
    {"TOPE", "TOA", &TagFields::original_artist},
    {"TCOP", "TCR", &TagFields::copyright},
    {"TCOM", "TCM", &TagFields::composer},
    {"WXXX", "WXX", &TagFields::url},
    {"TENC", "TEN", &TagFields::encoder},
}};

void fill_fields(std::string_view tag, TagFields& fields, const Codec& codec) {
    const bool version_2_2 = tag[3] == 2;
    for (const FrameField& frame : frame_fields)
        fields.*frame.field = find_frame_text(tag, version_2_2 ? frame.id_2_2 : frame.id, codec);
    // Version 2.4 replaced TYER by the recording time TDRC ("2014-05-01"):
    // its year stands for the missing TYER.
    if (tag[3] == 4 && fields.year.empty())
        fields.year = find_frame_text(tag, "TDRC", codec).substr(0, 4);
    if (!fields.genre.empty()) fields.genre = resolve_genre_text(fields.genre);
}

// The tag bytes: the first `length` bytes of the file, fewer when the file
// is shorter. `head` holds the first `got` bytes of the file; `storage`
// receives a larger tag, never larger than the file.
std::string_view whole_tag(const ByteFile& file, const std::array<char, first_read_size>& head,
                           std::size_t got, std::uint32_t length, std::string& storage) {
    if (length <= got) return {head.data(), length};
    if (got < head.size()) return {head.data(), got};  // the file ends inside the tag
    const std::optional<std::uint64_t> file_length = file.length();
    if (!file_length) return {head.data(), got};
    // max: the file may have shrunk since the first read.
    const std::uint64_t wanted =
        std::max<std::uint64_t>(got, std::min<std::uint64_t>(length, *file_length));
    storage.resize(static_cast<std::size_t>(wanted));
    std::copy(head.begin(), head.end(), storage.begin());
    const std::optional<std::size_t> more =
        read_at(file.fd(), storage.data() + got, storage.size() - got, got);
    storage.resize(got + more.value_or(0));
    return storage;
}

}  // namespace

bool has_id3v2_header(ByteFile& file) {
    return id3v2_tag_length(file).has_value();
}

std::optional<std::uint32_t> id3v2_tag_length(ByteFile& file) {
    std::array<char, header_size> head{};
    const std::optional<std::size_t> got = read_at(file.fd(), head.data(), head.size(), 0);
    if (!got) return std::nullopt;
    return declared_tag_length({head.data(), *got});
}

bool read_id3v2_tag(ByteFile& file, TagFields& fields, const Codec& codec) {
    std::array<char, first_read_size> head;
    const std::optional<std::size_t> got = read_at(file.fd(), head.data(), head.size(), 0);
    if (!got) return false;
    const std::optional<std::uint32_t> length = declared_tag_length({head.data(), *got});
    if (!length) return false;
    std::string storage;
    const std::string_view tag = whole_tag(file, head, *got, *length, storage);
    // Versions 2.2 and 2.3 unsynchronise the whole tag: undone first.
    if (tag[3] < 4 && (static_cast<std::uint8_t>(tag[5]) & 0x80)) {
        const std::string plain = std::string(tag.substr(0, header_size)) +
                                  undo_unsynchronisation(tag.substr(header_size));
        fill_fields(plain, fields, codec);
    } else {
        fill_fields(tag, fields, codec);
    }
    return true;
}

std::string find_frame_text(std::string_view tag, std::string_view id, const Codec& codec) {
    if (id.empty()) return {};
    return decode_frame(find_frame_data(tag, id), id[0], codec);
}

std::string resolve_genre_text(std::string_view text) {
    const std::size_t open = find_last_char(text, '(');
    const std::size_t close = find_char(text, ')', open == npos ? 0 : open);
    if (close == npos) return std::string(open == npos ? text : text.substr(open + 1));
    const std::size_t inside_at = open == npos ? 0 : open + 1;
    // Four or more bytes between the brackets: words, not a genre number.
    if (close - inside_at >= 4) return std::string(text.substr(close + 1));
    const std::string_view name =
        genre_name(leading_number(text.substr(inside_at, close - inside_at)));
    // A number without a name ("(255)") stays as the file has it.
    return name.empty() ? std::string(text) : std::string(name);
}

}  // namespace varnel
