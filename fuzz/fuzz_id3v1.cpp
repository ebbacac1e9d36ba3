// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the ID3v1 reader, writer and removal over a file that
// holds the input. Aborts when a tag that was just written does not read
// back, or when writing changes the file's length other than by one block.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/memory_file.h"
#include "id3/id3v1.h"

namespace {

volatile std::size_t sink;  // keeps the results from being optimised away

int small_number(std::string_view text) {
    int value = 0;
    for (const char c : text.substr(0, 4))
        value = value * 10 + (static_cast<unsigned char>(c) % 10);
    return value;
}

void check(bool condition) {
    if (!condition) std::abort();
}

// Writes texts cut from the input itself (over-long ones included) and
// checks that the tag is found and the length is right.
void write_and_check(varnel::ByteFile& file, std::string_view input) {
    const auto length_before = file.length();
    check(length_before.ok());
    const bool had_tag = varnel::has_id3v1_tag(file);
    const auto piece = [input](std::size_t at, std::size_t width) {
        return at < input.size() ? input.substr(at, width) : std::string_view{};
    };
    if (!varnel::write_id3v1_tag(file, piece(0, 40), piece(5, 31), piece(9, 30), piece(3, 6),
                                 piece(1, 33), small_number(input), small_number(piece(2, 4))))
        return;
    check(varnel::has_id3v1_tag(file));
    check(file.length().value_or(0) == *length_before + (had_tag ? 0 : 128));
}

// What was read reads back the same after it is written (title, artist,
// album and year are never longer than their fields).
void round_trip(varnel::ByteFile& file, const varnel::TagFields& read) {
    if (!varnel::write_id3v1_tag(file, read.title, read.artist, read.album, read.year, read.comment,
                                 1, 2))
        return;
    varnel::TagFields again;
    check(varnel::read_id3v1_tag(file, again));
    check(again.title == read.title && again.artist == read.artist && again.album == read.album &&
          again.year == read.year);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::optional<varnel::ByteFile> file = varnel::fuzz::file_holding(input);
    if (!file) return 0;
    varnel::TagFields fields;
    if (varnel::read_id3v1_tag(*file, fields)) {
        sink = sink + fields.title.size() + fields.comment.size() + fields.track.size() +
               fields.genre.size();
        round_trip(*file, fields);
    }
    write_and_check(*file, input);
    check(varnel::remove_id3v1_tag(*file));
    check(!varnel::has_id3v1_tag(*file) || file->length().value_or(0) >= 128);
    return 0;
}
