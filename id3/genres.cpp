// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/genres.h"

#include <algorithm>
#include <cstddef>

namespace varnel {
namespace {

// The ID3v1 list (0..79) and Winamp's extensions (80..125), spelled as
// files and other players spell them ("Psychadelic", "Bebob" included).
// clang-format off
constexpr std::array<std::string_view, genre_count> names = {
    /*   0 */ "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop",
              "Jazz", "Metal",
    /*  10 */ "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno",
              "Industrial",
    /*  20 */ "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient",
              "Trip-Hop", "Vocal", "Jazz+Funk",
    /*  30 */ "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game",
              "Sound Clip", "Gospel", "Noise",
    /*  40 */ "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop",
              "Instrumental Rock", "Ethnic", "Gothic",
    /*  50 */ "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",
              "Southern Rock", "Comedy", "Cult", "Gangsta",
    /*  60 */ "Top 40", "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret",
              "New Wave", "Psychadelic", "Rave", "Showtunes",
    /*  70 */ "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical",
              "Rock & Roll", "Hard Rock",
    /*  80 */ "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin",
              "Revival", "Celtic", "Bluegrass",
    /*  90 */ "Avantgarde", "Gothic Rock", "Progressive Rock", "Psychedelic Rock", "Symphonic Rock",
              "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic",
    /* 100 */ "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony",
              "Booty Bass", "Primus", "Porn Groove",
    /* 110 */ "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad", "Power Ballad",
              "Rhythmic Soul", "Freestyle",
    /* 120 */ "Duet", "Punk Rock", "Drum Solo", "A capella", "Euro-House", "Dance Hall",
};
// clang-format on

// Sort weight of the character at `index` of `name` ('-' already skipped):
// a space weighs least, then the end of the name, then every other
// character by its lower-case code.
int weight_at(std::string_view name, std::size_t index) {
    if (index >= name.size()) return 1;
    const auto byte = static_cast<unsigned char>(name[index]);
    if (byte == ' ') return 0;
    const int lower = (byte >= 'A' && byte <= 'Z') ? byte + ('a' - 'A') : byte;
    return lower + 2;
}

std::size_t skip_dashes(std::string_view name, std::size_t index) {
    while (index < name.size() && name[index] == '-') ++index;
    return index;
}

bool comes_before(std::string_view left, std::string_view right) {
    std::size_t i = skip_dashes(left, 0);
    std::size_t j = skip_dashes(right, 0);
    while (i < left.size() || j < right.size()) {
        const int a = weight_at(left, i);
        const int b = weight_at(right, j);
        if (a != b) return a < b;
        i = skip_dashes(left, i + 1);
        j = skip_dashes(right, j + 1);
    }
    return false;
}

struct DisplayTables {
    std::array<int, genre_count> order{};
    std::array<int, genre_count> position{};
};

DisplayTables build_display_tables() {
    DisplayTables tables;
    for (int number = 0; number < genre_count; ++number)
        tables.order[static_cast<std::size_t>(number)] = number;
    // Stable, so that names equal under the rule would keep their numbering.
    std::stable_sort(tables.order.begin(), tables.order.end(), [](int a, int b) {
        return comes_before(names[static_cast<std::size_t>(a)], names[static_cast<std::size_t>(b)]);
    });
    for (int index = 0; index < genre_count; ++index)
        tables.position[static_cast<std::size_t>(tables.order[static_cast<std::size_t>(index)])] =
            index;
    return tables;
}

const DisplayTables& display_tables() {
    static const DisplayTables tables = build_display_tables();
    return tables;
}

bool in_range(int number) {
    return number >= 0 && number < genre_count;
}

}  // namespace

std::string_view genre_name(int number) {
    return in_range(number) ? names[static_cast<std::size_t>(number)] : std::string_view{};
}

int genre_display_position(int number) {
    return in_range(number) ? display_tables().position[static_cast<std::size_t>(number)] : -1;
}

const std::array<int, genre_count>& genres_in_display_order() {
    return display_tables().order;
}

}  // namespace varnel
