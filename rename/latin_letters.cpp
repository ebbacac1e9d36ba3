// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/latin_letters.h"

#include <bitset>
#include <functional>
#include <unordered_map>

#include "platform/codec.h"

namespace varnel {
namespace {

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>{}(text);
    }
};

using Table = std::unordered_map<std::string, LatinLetter, TextHash, std::equal_to<>>;

// The table and which first two bytes any of its letters starts with, so
// that the many characters that are no such letter (Chinese above all) are
// told apart without a lookup.
struct Letters {
    Table table;
    std::bitset<65536> leads;
};

std::size_t lead_of(std::string_view character) {
    return static_cast<unsigned char>(character[0]) * 256U +
           static_cast<unsigned char>(character[1]);
}

std::string utf8_of(char32_t c) {
    std::string out;
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
    return out;
}

void add_pair(Table& table, const Codec& codec, char32_t upper, char32_t lower) {
    const std::string up = *codec.from_utf8(utf8_of(upper));
    const std::string low = *codec.from_utf8(utf8_of(lower));
    table[up] = LatinLetter{up, low};
    table[low] = LatinLetter{up, low};
}

void add_single(Table& table, const Codec& codec, char32_t letter) {
    const std::string bytes = *codec.from_utf8(utf8_of(letter));
    table[bytes] = LatinLetter{bytes, bytes};
}

// Pairs laid out alternately, capital first when `upper_even` (U+0100 Ā,
// U+0101 ā …) and second otherwise (U+0139 Ĺ, U+013A ĺ …).
void add_alternating(Table& table, const Codec& codec, char32_t first, char32_t last,
                     bool upper_even) {
    for (char32_t c = first; c + 1 <= last; c += 2) {
        if (upper_even == (c % 2 == 0))
            add_pair(table, codec, c, c + 1);
        else
            add_pair(table, codec, c + 1, c);
    }
}

Table build_table() {
    const Codec codec;
    Table table;
    for (char32_t c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7) add_pair(table, codec, c, c + 0x20);  // not ×/÷
    add_single(table, codec, 0xDF);                          // ß
    add_pair(table, codec, 0x178, 0xFF);                     // Ÿ ÿ
    add_alternating(table, codec, 0x100, 0x12F, true);
    add_single(table, codec, 0x130);  // İ
    add_single(table, codec, 0x131);  // ı
    add_alternating(table, codec, 0x132, 0x137, true);
    add_single(table, codec, 0x138);  // ĸ
    add_alternating(table, codec, 0x139, 0x148, false);
    add_single(table, codec, 0x149);  // ŉ
    add_alternating(table, codec, 0x14A, 0x177, true);
    add_alternating(table, codec, 0x179, 0x17E, false);
    add_single(table, codec, 0x17F);                     // ſ
    add_alternating(table, codec, 0x1CD, 0x1DC, false);  // Ǎ ǎ … Ǜ ǜ
    return table;
}

Letters build() {
    Letters letters{build_table(), {}};
    for (const auto& [bytes, letter] : letters.table) letters.leads.set(lead_of(bytes));
    return letters;
}

}  // namespace

const LatinLetter* latin_letter(std::string_view character) {
    static const Letters letters = build();
    if (character.size() < 2 || !letters.leads.test(lead_of(character))) return nullptr;
    const auto found = letters.table.find(character);
    return found == letters.table.end() ? nullptr : &found->second;
}

}  // namespace varnel
