// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Byte-level MP3 test files: ID3v1 trailers, ID3v2 tags and a stand-in for
// audio, built by hand so tests state exactly what is on disk.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace varnel::test {

// The 128-byte ID3v1.1 trailer.
inline std::string id3v1_block(std::string_view title, std::string_view artist = {},
                               std::string_view album = {}, std::string_view year = {},
                               std::string_view comment = {}, int track = 0, int genre = 255) {
    std::string block(128, '\0');
    block.replace(0, 3, "TAG");
    const auto put = [&block](std::size_t at, std::string_view text, std::size_t width) {
        block.replace(at, std::min(text.size(), width), text.substr(0, width));
    };
    put(3, title, 30);
    put(33, artist, 30);
    put(63, album, 30);
    put(93, year, 4);
    put(97, comment, 28);
    block[126] = static_cast<char>(track);
    block[127] = static_cast<char>(genre);
    return block;
}

// One ID3v2.3 frame: id, plain big-endian size, two zero flag bytes, data.
inline std::string id3v2_frame(std::string_view id, std::string_view data) {
    std::string frame(id);
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
    frame += std::string(2, '\0');
    frame += data;
    return frame;
}

// A text frame with encoding byte 0x00.
inline std::string text_frame(std::string_view id, std::string_view text) {
    return id3v2_frame(id, std::string(1, '\0') + std::string(text));
}

// An ID3v2 tag of `major` version around `frames`, with `padding` zero bytes.
inline std::string id3v2_tag(const std::string& frames, int major = 3, std::size_t padding = 16) {
    const std::size_t size = frames.size() + padding;
    std::string tag = "ID3";
    tag += static_cast<char>(major);
    tag += std::string(2, '\0');
    for (int shift = 21; shift >= 0; shift -= 7) tag += static_cast<char>((size >> shift) & 0x7F);
    return tag + frames + std::string(padding, '\0');
}

// One ID3v2.4 frame: id, syncsafe size, status flags 00, `format` flags,
// data.
inline std::string id3v2_4_frame(std::string_view id, std::string_view data, char format = 0) {
    std::string frame(id);
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int shift = 21; shift >= 0; shift -= 7) frame += static_cast<char>((size >> shift) & 0x7F);
    frame += '\0';
    frame += format;
    frame += data;
    return frame;
}

// `tag` with the size in its header set to `size` (syncsafe, below 2^28),
// whatever its bytes are.
inline std::string with_declared_size(std::string tag, std::uint32_t size) {
    for (int i = 0; i < 4; ++i)
        tag[6 + static_cast<std::size_t>(i)] = static_cast<char>((size >> (21 - 7 * i)) & 0x7F);
    return tag;
}

// `count` MPEG-1 layer 3 frames of 128 kbit/s at 44.1 kHz (417 bytes each,
// header FF FB 90 64) with varied contents: real audio as far as finding
// the end of a tag goes.
inline std::string mpeg_frames(std::size_t count) {
    std::string audio;
    for (std::size_t n = 0; n < count; ++n) {
        audio += "\xFF\xFB\x90\x64";
        for (std::size_t i = 4; i < 417; ++i) audio += static_cast<char>((i * 131 + n * 7) & 0xFF);
    }
    return audio;
}

// Bytes that stand for audio: frame-sync headers and varied bytes.
inline std::string fake_audio(std::size_t size) {
    std::string audio(size, '\0');
    for (std::size_t i = 0; i < size; ++i) audio[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    if (size >= 2) {
        audio[0] = '\xFF';
        audio[1] = '\xFB';
    }
    return audio;
}

}  // namespace varnel::test
