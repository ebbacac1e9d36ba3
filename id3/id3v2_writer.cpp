// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/id3v2_writer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>

#include "id3/id3v2_reader.h"
#include "id3/safe_rewrite.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

constexpr std::size_t block_size = 4096;
constexpr std::size_t header_size = 10;

bool read_block(int fd, char* buffer, std::size_t size, std::uint64_t offset) {
    const std::optional<std::size_t> count = read_at(fd, buffer, size, offset);
    return count && *count == size;
}

// The tag bytes at the start of the file (its whole space), empty without
// a tag; nullopt on a read error.
std::optional<std::string> old_tag(ByteFile& file, std::uint64_t space) {
    std::string bytes(static_cast<std::size_t>(space), '\0');
    const std::optional<std::size_t> got = read_at(file.fd(), bytes.data(), bytes.size(), 0);
    if (!got) return std::nullopt;
    bytes.resize(*got);
    return bytes;
}

TagEditResult failed(int error) {
    return TagEditResult{false, error, {}};
}

Codec& code_page_codec() {
    thread_local Codec codec;
    return codec;
}

}  // namespace

std::string build_id3v2_tag(const TagFields& fields) {
    const BuiltFrames built = build_id3v2_frames(fields, {}, {}, code_page_codec());
    return wrap_id3v2_tag(built.frames, new_tag_padding);
}

std::optional<std::uint64_t> id3v2_tag_space(ByteFile& file) {
    std::array<char, header_size> header{};
    const std::optional<std::size_t> got = read_at(file.fd(), header.data(), header.size(), 0);
    if (!got) return std::nullopt;
    if (!has_id3v2_header(file)) return 0;
    const std::optional<std::uint32_t> length = id3v2_tag_length(file);
    if (!length) return 0;
    const bool footer = header[3] == 4 && (static_cast<std::uint8_t>(header[5]) & 0x10);
    return *length + (footer ? header_size : 0);
}

std::vector<std::string> unconvertible_frames(ByteFile& file) {
    const std::optional<std::uint64_t> space = id3v2_tag_space(file);
    if (!space || *space == 0) return {};
    const std::optional<std::string> tag = old_tag(file, *space);
    if (!tag) return {};
    return build_id3v2_frames(TagFields{}, *tag, {}, code_page_codec()).unconvertible;
}

TagEditResult write_id3v2_tag(ByteFile& file, const std::string& path, const TagFields& fields,
                              const V2WriteOptions& options, const Codec& codec) {
    if (!recover_file_edit(file, path)) return failed(errno);
    const std::optional<std::uint64_t> space = id3v2_tag_space(file);
    if (!space) return failed(errno);
    const std::optional<std::string> tag = old_tag(file, *space);
    if (!tag) return failed(errno);
    BuiltFrames built = build_id3v2_frames(fields, *tag, options, codec);
    TagEditResult result{false, 0, std::move(built.unconvertible)};
    if (!result.unconvertible.empty() && !options.drop_unconvertible) return result;
    const TagEditResult written = write_id3v2_frames(file, path, built.frames);
    result.ok = written.ok;
    result.error = written.error;
    return result;
}

TagEditResult write_id3v2_frames(ByteFile& file, const std::string& path, std::string_view frames) {
    const std::optional<std::uint64_t> space = id3v2_tag_space(file);
    if (!space) return failed(errno);
    const std::optional<std::string> tag = old_tag(file, *space);
    if (!tag) return failed(errno);
    // Fits where the old tag was: written in place, its padding filling the space.
    const bool fits = tag->size() == *space && *space >= header_size + frames.size();
    const std::string bytes =
        wrap_id3v2_tag(frames, fits ? static_cast<std::size_t>(*space - header_size - frames.size())
                                    : new_tag_padding);
    if (bytes.empty()) return failed(EFBIG);
    const bool ok = fits ? overwrite_file_start(file, path, bytes)
                         : replace_file_start(file, path, *space, bytes);
    return ok ? TagEditResult{true, 0, {}} : failed(errno);
}

bool write_id3v2_tag(ByteFile& file, const std::string& path, const TagFields& fields) {
    return write_id3v2_tag(file, path, fields, {}, code_page_codec()).ok;
}

TagEditResult remove_id3v2_tag(ByteFile& file, const std::string& path) {
    if (!recover_file_edit(file, path)) return failed(errno);
    const std::optional<std::uint64_t> space = id3v2_tag_space(file);
    if (!space) return failed(errno);
    if (*space == 0) return TagEditResult{true, 0, {}};
    if (!replace_file_start(file, path, *space, {})) return failed(errno);
    return TagEditResult{true, 0, {}};
}

bool delete_bytes(ByteFile& file, std::uint64_t position, std::uint64_t count) {
    const std::optional<std::uint64_t> length = file.length();
    if (!length) return false;
    if (position >= *length || count == 0) return true;
    count = std::min(count, *length - position);
    char buffer[block_size];
    for (std::uint64_t target = position; target + count < *length;) {
        const auto block = static_cast<std::size_t>(
            std::min<std::uint64_t>(block_size, *length - (target + count)));
        if (!read_block(file.fd(), buffer, block, target + count) ||
            !write_at(file.fd(), buffer, block, target))
            return false;
        target += block;
    }
    return file.truncate(*length - count);
}

bool insert_bytes(ByteFile& file, std::uint64_t position, std::string_view bytes) {
    if (bytes.empty()) return true;
    const std::optional<std::uint64_t> length = file.length();
    if (!length) return false;
    char buffer[block_size];
    for (std::uint64_t end = *length; end > position;) {
        const auto block =
            static_cast<std::size_t>(std::min<std::uint64_t>(block_size, end - position));
        const std::uint64_t start = end - block;
        if (!read_block(file.fd(), buffer, block, start) ||
            !write_at(file.fd(), buffer, block, start + bytes.size()))
            return false;
        end = start;
    }
    return write_at(file.fd(), bytes.data(), bytes.size(), position);
}

}  // namespace varnel
