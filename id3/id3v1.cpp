// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/id3v1.h"

#include <array>
#include <optional>
#include <string>

#include "platform/code_page_chars.h"
#include "platform/language.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

constexpr std::size_t block_size = 128;
using Block = std::array<char, block_size>;

// Field offsets and widths in the block.
constexpr std::size_t title_at = 3;
constexpr std::size_t artist_at = 33;
constexpr std::size_t album_at = 63;
constexpr std::size_t year_at = 93;
constexpr std::size_t comment_at = 97;
constexpr std::size_t text_width = 30;
constexpr std::size_t year_width = 4;
constexpr std::size_t v11_marker_at = 125;
constexpr std::size_t track_at = 126;
constexpr std::size_t genre_at = 127;
// Every block written carries the track at offset 126, so a comment keeps
// at most the 29 bytes before it.
constexpr std::size_t written_comment_width = track_at - comment_at;

// The file's length and its last 128 bytes when they hold a tag.
struct Trailer {
    std::uint64_t file_length = 0;
    std::optional<Block> tag;
};

std::optional<Trailer> read_trailer(const ByteFile& file) {
    const std::optional<std::uint64_t> length = file.length();
    if (!length) return std::nullopt;
    Trailer trailer{*length, std::nullopt};
    if (*length < block_size) return trailer;
    Block block;
    // One positioned read, no seek: the tag rule asks every file for this.
    const Result<std::size_t> got = file.read_at(block.data(), block_size, *length - block_size);
    if (!got || *got != block_size) return std::nullopt;
    if (block[0] == 'T' && block[1] == 'A' && block[2] == 'G') trailer.tag = block;
    return trailer;
}

bool is_space_char(std::string_view text, std::size_t at, std::size_t width) {
    if (width == 1) return text[at] == ' ';
    static const std::string& full_width_space = code_page("　");
    return text.substr(at, width) == full_width_space;
}

// Without leading and trailing half-width and full-width (A1 A1) spaces.
// Walks whole characters, so that the trail byte of one character and the
// lead byte of the next are never taken for a full-width space.
std::string trim_spaces(std::string_view text) {
    std::size_t begin = text.size();
    std::size_t end = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t width = char_size_at(text, at);
        if (!is_space_char(text, at, width)) {
            if (begin > at) begin = at;
            end = at + width;
        }
        at += width;
    }
    return begin < end ? std::string(text.substr(begin, end - begin)) : std::string();
}

std::string field_text(const Block& block, std::size_t at, std::size_t width) {
    const std::string_view field(block.data() + at, width);
    return std::string(field.substr(0, field.find('\0')));
}

// The longest start of `text` of at most `width` bytes that does not end
// inside a character (two or four bytes).
std::string_view cut_to_width(std::string_view text, std::size_t width) {
    return text.substr(0, whole_char_prefix(text, width));
}

void put_text(Block& block, std::size_t at, std::string_view text, std::size_t width) {
    const std::string_view cut = cut_to_width(text, width);
    cut.copy(block.data() + at, cut.size());
}

Block build_block(std::string_view title, std::string_view artist, std::string_view album,
                  std::string_view year, std::string_view comment, int track, int genre) {
    Block block{};
    block[0] = 'T';
    block[1] = 'A';
    block[2] = 'G';
    put_text(block, title_at, title, text_width);
    put_text(block, artist_at, artist, text_width);
    put_text(block, album_at, album, text_width);
    put_text(block, year_at, year, year_width);
    put_text(block, comment_at, comment, written_comment_width);
    block[track_at] = static_cast<char>(track & 0xFF);
    block[genre_at] = static_cast<char>(genre & 0xFF);
    return block;
}

}  // namespace

bool has_id3v1_tag(ByteFile& file) {
    const std::optional<Trailer> trailer = read_trailer(file);
    return trailer && trailer->tag;
}

bool read_id3v1_tag(ByteFile& file, TagFields& fields) {
    const std::optional<Trailer> trailer = read_trailer(file);
    if (!trailer || !trailer->tag) return false;
    const Block& block = *trailer->tag;
    fields.title = trim_spaces(field_text(block, title_at, text_width));
    fields.artist = trim_spaces(field_text(block, artist_at, text_width));
    fields.album = trim_spaces(field_text(block, album_at, text_width));
    fields.year = field_text(block, year_at, year_width);
    const auto track = static_cast<unsigned char>(block[track_at]);
    if (block[v11_marker_at] == '\0') {
        fields.comment = field_text(block, comment_at, written_comment_width - 1);
        fields.track = track == 0 ? std::string() : std::to_string(track);
    } else {
        fields.comment = field_text(block, comment_at, text_width);
        fields.track.clear();
    }
    fields.genre = std::to_string(static_cast<unsigned char>(block[genre_at]));
    return true;
}

bool write_id3v1_tag(ByteFile& file, std::string_view title, std::string_view artist,
                     std::string_view album, std::string_view year, std::string_view comment,
                     int track, int genre) {
    const std::optional<Trailer> trailer = read_trailer(file);
    if (!trailer) return false;
    const Block block = build_block(title, artist, album, year, comment, track, genre);
    const std::uint64_t at =
        trailer->tag ? trailer->file_length - block_size : trailer->file_length;
    if (file.seek(at) && file.write(block.data(), block.size())) return true;
    // A failed append (disk full) must not leave part of a block behind.
    // Best effort: the failed write is what the caller is told.
    if (!trailer->tag) (void)file.truncate(trailer->file_length);
    return false;
}

std::string build_id3v1_block(std::string_view title, std::string_view artist,
                              std::string_view album, std::string_view year,
                              std::string_view comment, int track, int genre) {
    const Block block = build_block(title, artist, album, year, comment, track, genre);
    return std::string(block.data(), block.size());
}

bool remove_id3v1_tag(ByteFile& file) {
    const std::optional<Trailer> trailer = read_trailer(file);
    if (!trailer) return false;
    if (!trailer->tag) return true;
    return file.truncate(trailer->file_length - block_size).ok();
}

}  // namespace varnel
