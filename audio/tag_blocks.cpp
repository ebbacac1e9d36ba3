// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/tag_blocks.h"

#include "audio/raw_comments.h"
#include "platform/tag_file_io.h"

namespace varnel {

namespace {

// A tag block larger than this is damage, not a tag worth naming files by.
constexpr std::uint64_t largest_tag = 16U << 20;

std::optional<std::string> bytes_at(ByteFile& file, std::uint64_t offset, std::uint64_t size) {
    if (size > largest_tag) return std::nullopt;
    return file.bytes_at(offset, static_cast<std::size_t>(size));
}

std::uint64_t big_endian(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint64_t little_endian(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Where a FLAC stream starts: after an ID3v2 tag some taggers put first.
std::uint64_t after_id3v2(ByteFile& file) {
    const std::optional<std::string> header = bytes_at(file, 0, 10);
    if (!header || header->compare(0, 3, "ID3") != 0) return 0;
    std::uint64_t size = 0;
    for (std::size_t i = 6; i < 10; ++i) size = (size << 7) | ((*header)[i] & 0x7F);
    const bool footer = ((*header)[5] & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

// The data of the chunk `id` (or `other_id`) among the chunks from `at`
// to `end`; sizes of `size_bytes`-byte chunk headers read by `size_of`.
template <typename SizeOf>
std::optional<std::string> chunk_data(ByteFile& file, std::uint64_t at, std::uint64_t end,
                                      std::string_view id, std::string_view other_id,
                                      SizeOf size_of) {
    while (at + 8 <= end) {
        const std::optional<std::string> header = bytes_at(file, at, 8);
        if (!header) return std::nullopt;
        const std::uint64_t size = size_of(*header);
        const std::string_view name = std::string_view(*header).substr(0, 4);
        if (name == id || name == other_id) return bytes_at(file, at + 8, size);
        at += 8 + size + (size & 1);  // chunks are padded to an even length
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> flac_comment_block(ByteFile& file) {
    std::uint64_t at = after_id3v2(file);
    const std::optional<std::string> mark = bytes_at(file, at, 4);
    if (!mark || *mark != "fLaC") return std::nullopt;
    at += 4;
    for (;;) {
        const std::optional<std::string> header = bytes_at(file, at, 4);
        if (!header) return std::nullopt;
        const auto type = static_cast<unsigned char>((*header)[0]);
        const std::uint64_t size = big_endian(*header, 1, 3);
        if ((type & 0x7F) == 4) return bytes_at(file, at + 4, size);
        if ((type & 0x80) != 0) return std::nullopt;  // the last block
        at += 4 + size;
    }
}

std::optional<ApeItems> ape_tag_items(ByteFile& file) {
    const std::optional<std::uint64_t> length = file.length();
    if (!length) return std::nullopt;
    for (const std::uint64_t end : {*length, *length - std::min<std::uint64_t>(*length, 128)}) {
        if (end < 32) continue;
        const std::optional<std::string> last = bytes_at(file, end - 32, 32);
        if (!last) return std::nullopt;
        const std::optional<ApeFooter> footer = ape_footer(*last);
        if (!footer || footer->size > end) continue;
        std::optional<std::string> items = bytes_at(file, end - footer->size, footer->size - 32);
        if (!items) return std::nullopt;
        return ApeItems{std::move(*items), footer->items};
    }
    return std::nullopt;
}

std::optional<std::string> aiff_id3_tag(ByteFile& file) {
    const std::optional<std::string> form = bytes_at(file, 0, 12);
    if (!form || form->compare(0, 4, "FORM") != 0) return std::nullopt;
    const std::uint64_t end = 8 + big_endian(*form, 4, 4);
    return chunk_data(file, 12, end, "ID3 ", "id3 ",
                      [](std::string_view header) { return big_endian(header, 4, 4); });
}

std::optional<std::string> wav_id3_tag(ByteFile& file) {
    const std::optional<std::string> riff = bytes_at(file, 0, 12);
    if (!riff || riff->compare(0, 4, "RIFF") != 0) return std::nullopt;
    const std::uint64_t end = 8 + little_endian(*riff, 4, 4);
    return chunk_data(file, 12, end, "id3 ", "ID3 ",
                      [](std::string_view header) { return little_endian(header, 4, 4); });
}

std::optional<std::string> dsf_id3_tag(ByteFile& file) {
    const std::optional<std::string> header = bytes_at(file, 0, 28);
    if (!header || header->compare(0, 4, "DSD ") != 0) return std::nullopt;
    const std::uint64_t total = little_endian(*header, 12, 8);
    const std::uint64_t metadata = little_endian(*header, 20, 8);
    if (metadata == 0 || metadata >= total) return std::nullopt;
    return bytes_at(file, metadata, total - metadata);
}

}  // namespace varnel
