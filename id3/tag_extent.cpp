// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/tag_extent.h"

#include <algorithm>
#include <array>

#include "id3/id3v2_reader.h"
#include "id3/id3v2_walk.h"
#include "id3/mpeg_audio.h"
#include "id3/tag_bytes.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

constexpr std::size_t id3v1_size = 128;
// The first read of a tag's bytes; larger tags are read in growing steps.
constexpr std::uint64_t first_read_limit = 1 << 20;
// Enough for two MPEG frames of the highest bit rate.
constexpr std::size_t audio_probe_size = 2 * 2881 + 4;

bool is_id3v1_at(std::string_view probe, std::uint64_t at, std::uint64_t file_length) {
    return at + id3v1_size == file_length && probe.substr(0, 3) == "TAG";
}

// Whether `probe` (the file's bytes from `at`) plainly starts with MPEG
// audio: a frame header, and after the frame another one, the ID3v1
// trailer or the end of the file.
bool plainly_audio(std::string_view probe, std::uint64_t at, std::uint64_t file_length) {
    const std::optional<std::size_t> length = mpeg_frame_length(probe);
    if (!length || *length == 0) return false;
    const std::uint64_t next = at + *length;
    if (next == file_length) return true;
    if (*length > probe.size()) return false;
    const std::string_view rest = probe.substr(*length);
    return is_id3v1_at(rest, next, file_length) || mpeg_frame_length(rest).has_value();
}

// Whether the audio or the ID3v1 trailer starts at `at`.
Result<bool> audio_follows(ByteFile& file, std::uint64_t at, std::uint64_t file_length) {
    std::string probe(audio_probe_size, '\0');
    const Result<std::size_t> got = file.read_at(probe.data(), probe.size(), at);
    if (!got) return got.error();
    probe.resize(*got);
    return is_id3v1_at(probe, at, file_length) || plainly_audio(probe, at, file_length);
}

// Whether plain MPEG audio starts anywhere in the file from `from` up to
// `end`: then the declared size takes audio, wherever the tag ends. Read
// in blocks: memory stays small whatever the sizes.
Result<bool> audio_inside(ByteFile& file, std::uint64_t from, std::uint64_t end,
                          std::uint64_t file_length) {
    constexpr std::size_t scan_block_size = 64 * 1024;
    std::string block(scan_block_size + 3, '\0');
    for (std::uint64_t start = from; start < end; start += scan_block_size) {
        const Result<std::size_t> got = file.read_at(block.data(), block.size(), start);
        if (!got) return got.error();
        const std::string_view bytes(block.data(), *got);
        const std::size_t stop =
            static_cast<std::size_t>(std::min<std::uint64_t>(scan_block_size, end - start));
        for (std::size_t at = 0; at < std::min(stop, bytes.size()); ++at) {
            if (bytes[at] != '\xFF') continue;
            if (at + 4 <= bytes.size()) {
                const std::optional<std::size_t> length = mpeg_frame_length(bytes.substr(at));
                if (!length || *length == 0) continue;
            }
            Result<bool> audio = audio_follows(file, start + at, file_length);
            if (!audio || *audio) return audio;
        }
    }
    return false;
}

}  // namespace

Result<std::string> read_tag_bytes(ByteFile& file, std::uint64_t declared) {
    const Result<std::uint64_t> file_length = file.length();
    if (!file_length) return file_length.error();
    const std::uint64_t wanted = std::min(declared, *file_length);
    std::string bytes;
    // Steps of eight times, at most 32 MiB: few walks, little read in vain.
    for (std::uint64_t size = std::min<std::uint64_t>(wanted, first_read_limit);;
         size = std::min(wanted, size + std::min<std::uint64_t>(7 * size, 32 << 20))) {
        bytes.resize(static_cast<std::size_t>(size));
        const Result<std::size_t> got = file.read_at(bytes.data(), bytes.size(), 0);
        if (!got) return got.error();
        bytes.resize(*got);
        if (*got < size || size == wanted) return bytes;
        // More is needed only where frames or padding reach the end of what
        // was read (a frame or its header cut there); a walk that stops on
        // anything else has found the end.
        const std::optional<FrameList> list = walk_id3v2_frames(bytes);
        const bool header_cut = list && list->area.size() - list->end < list->header_size;
        if (!list || !(list->cut || list->clean || header_cut)) return bytes;
    }
}

Result<TagExtent> find_tag_extent(ByteFile& file) {
    std::array<char, id3v2_header_size> header{};
    const Result<std::size_t> got = file.read_at(header.data(), header.size(), 0);
    if (!got) return got.error();
    const std::optional<std::uint32_t> length = id3v2_tag_length(file);
    if (!length) return TagExtent{};
    const bool footer = header[3] == 4 && (static_cast<std::uint8_t>(header[5]) & 0x10);
    const std::uint64_t declared = *length + (footer ? id3v2_header_size : 0);
    const Result<std::uint64_t> file_length = file.length();
    if (!file_length) return file_length.error();
    TagExtent extent;
    Result<std::string> bytes = read_tag_bytes(file, declared);
    if (!bytes) return bytes.error();
    extent.bytes = std::move(*bytes);
    const bool past_end = declared > *file_length;
    const std::optional<FrameList> list = walk_id3v2_frames(extent.bytes);
    if (list && list->clean) {
        extent.end = past_end ? TagEnd::mended : TagEnd::declared;
        extent.length = extent.bytes.size();
        return extent;
    }
    if (list && list->area_offset) {
        const std::uint64_t after = *list->area_offset + skip_zero_bytes(list->area, list->end);
        const Result<bool> audio = audio_follows(file, after, *file_length);
        if (!audio) return audio.error();
        if (*audio) {
            extent.end = TagEnd::mended;
            extent.length = after;
            extent.bytes.resize(static_cast<std::size_t>(after));
            return extent;
        }
    }
    if (!past_end && list) {
        // Frames that stop early, then audio inside the declared size: the
        // tag's real end lies somewhere before that audio.
        const Result<bool> audio = audio_inside(file, list->area_offset.value_or(id3v2_header_size),
                                                declared, *file_length);
        if (!audio) return audio.error();
        if (!*audio) {
            extent.end = TagEnd::declared;
            extent.length = declared;
            return extent;
        }
    }
    extent.end = TagEnd::unknown;
    extent.length = 0;
    return extent;
}

}  // namespace varnel
