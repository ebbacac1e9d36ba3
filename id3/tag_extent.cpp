// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/tag_extent.h"

#include <algorithm>
#include <array>

#include "id3/id3v2_reader.h"
#include "id3/id3v2_walk.h"
#include "id3/mpeg_audio.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

constexpr std::size_t header_size = 10;
constexpr std::size_t id3v1_size = 128;
// Enough for two MPEG frames of the highest bit rate.
constexpr std::size_t audio_probe_size = 2 * 2881 + 4;

std::optional<std::string> read_start(ByteFile& file, std::uint64_t count) {
    std::string bytes(static_cast<std::size_t>(count), '\0');
    const std::optional<std::size_t> got = read_at(file.fd(), bytes.data(), bytes.size(), 0);
    if (!got) return std::nullopt;
    bytes.resize(*got);
    return bytes;
}

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

// Whether the audio or the ID3v1 trailer starts at `at`; nullopt on a read
// error.
std::optional<bool> audio_follows(ByteFile& file, std::uint64_t at, std::uint64_t file_length) {
    std::string probe(audio_probe_size, '\0');
    const std::optional<std::size_t> got = read_at(file.fd(), probe.data(), probe.size(), at);
    if (!got) return std::nullopt;
    probe.resize(*got);
    return is_id3v1_at(probe, at, file_length) || plainly_audio(probe, at, file_length);
}

// Whether plain MPEG audio starts anywhere in the tag bytes `bytes` from
// `from` on: then the declared size takes audio, wherever the tag ends.
std::optional<bool> audio_inside(ByteFile& file, std::string_view bytes, std::size_t from,
                                 std::uint64_t file_length) {
    for (std::size_t at = from; at < bytes.size(); ++at) {
        if (bytes[at] != '\xFF') continue;
        if (at + 4 <= bytes.size()) {
            // Decided in memory where the tag bytes hold the frame.
            const std::optional<std::size_t> length = mpeg_frame_length(bytes.substr(at));
            if (!length || *length == 0) continue;
            if (at + *length + 4 <= bytes.size()) {
                if (plainly_audio(bytes.substr(at), at, file_length)) return true;
                continue;
            }
        }
        const std::optional<bool> audio = audio_follows(file, at, file_length);
        if (!audio || *audio) return audio;
    }
    return false;
}

}  // namespace

std::optional<TagExtent> find_tag_extent(ByteFile& file) {
    std::array<char, header_size> header{};
    const std::optional<std::size_t> got = read_at(file.fd(), header.data(), header.size(), 0);
    if (!got) return std::nullopt;
    const std::optional<std::uint32_t> length = id3v2_tag_length(file);
    if (!length) return TagExtent{};
    const bool footer = header[3] == 4 && (static_cast<std::uint8_t>(header[5]) & 0x10);
    const std::uint64_t declared = *length + (footer ? header_size : 0);
    const std::optional<std::uint64_t> file_length = file.length();
    if (!file_length) return std::nullopt;
    TagExtent extent;
    std::optional<std::string> bytes = read_start(file, std::min(declared, *file_length));
    if (!bytes) return std::nullopt;
    extent.bytes = std::move(*bytes);
    const bool past_end = declared > extent.bytes.size();
    const std::optional<FrameList> list = walk_id3v2_frames(extent.bytes);
    if (list && list->clean) {
        extent.end = past_end ? TagEnd::mended : TagEnd::declared;
        extent.length = extent.bytes.size();
        return extent;
    }
    if (list && list->area_offset) {
        const std::uint64_t after = *list->area_offset + skip_zero_bytes(list->area, list->end);
        const std::optional<bool> audio = audio_follows(file, after, *file_length);
        if (!audio) return std::nullopt;
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
        const std::optional<bool> audio =
            audio_inside(file, extent.bytes, list->area_offset.value_or(header_size), *file_length);
        if (!audio) return std::nullopt;
        if (!*audio) {
            extent.end = TagEnd::declared;
            extent.length = extent.bytes.size();
            return extent;
        }
    }
    extent.end = TagEnd::unknown;
    extent.length = 0;
    return extent;
}

}  // namespace varnel
