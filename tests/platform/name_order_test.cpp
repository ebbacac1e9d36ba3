// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/name_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/name_pattern.h"

namespace varnel {
namespace {

struct OrderCase {
    const char* a;
    const char* b;
    int expected;  // sign of natural_compare(a, b)
};

TEST(NaturalOrder, ComparesDigitRunsByValueLettersWithoutCaseAndElseByCodePage) {
    const OrderCase cases[] = {
        {"track2.mp3", "track10.mp3", -1},
        {"track_14158", "track_200", 1},
        {"a99999999999999999999b", "a100000000000000000000a", -1},  // longer than any integer
        {"Track1", "track2", -1},
        {"b", "A", 1},
        {"a.txt", "A.txt", 1},  // equal but for case: byte order decides
        {"01", "1", -1},        // equal by value: byte order decides
        {"x", "x1", -1},
        {"", "a", -1},
        {"same", "same", 0},
        {"_", "a", -1},                // '_' (0x5F) before folded 'a' (0x61)
        {"z", "\xB0\xA1", -1},         // ASCII before a Chinese character
        {"\xB0\xA1", "\xD6\xD0", -1},  // 啊 before 中 (pinyin order of GBK)
        {"\xB0\xA1"
         "2",
         "\xB0\xA1"
         "10",
         -1},                                         // digits after a two-byte character
        {"\x81\x30\x81\x35", "\x81\x30\x81\x34", 1},  // a four-byte character is not a number
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        const int order = natural_compare(c.a, c.b);
        EXPECT_EQ((order > 0) - (order < 0), c.expected);
        EXPECT_EQ(-natural_compare(c.b, c.a), order);
    }
}

TEST(NaturalOrder, SortsAFolderOfTracksAsAFileManagerShowsThem) {
    std::vector<std::string> names{"track_10.mp3",  "Track_9.mp3",          "track_1.mp3",
                                   "track_100.mp3", "\xC4\xE3\xBA\xC3.mp3", "track_2.mp3"};
    std::sort(names.begin(), names.end(), natural_less);
    EXPECT_EQ(names,
              (std::vector<std::string>{"track_1.mp3", "track_2.mp3", "Track_9.mp3", "track_10.mp3",
                                        "track_100.mp3", "\xC4\xE3\xBA\xC3.mp3"}));
}

struct PatternCase {
    const char* pattern;
    const char* name;
    bool matches;
};

TEST(NamePattern, MatchesWholeNamesByCharacterWithoutCase) {
    const PatternCase cases[] = {
        {"*", "anything.at.all", true},
        {"*", "", true},
        {"*.mp3", "song.MP3", true},
        {"*.mp3", "song.mp3.txt", false},
        {"*.mp3", ".mp3", true},
        {"wav", "wav", true},  // no wildcard: the whole name
        {"wav", "song.wav", false},
        {"*.jp?g", "a.jpeg", true},
        {"*.jp?g", "a.jpg", false},
        {"?.txt", "\xC4\xE3.txt", true},  // '?' is one whole character
        {"??.txt", "\xC4\xE3.txt", false},
        {"*\xBA\xC3*", "\xC4\xE3\xBA\xC3.mp3", true},
        {"*\xE3\xBA*", "\xC4\xE3\xBA\xC3.mp3", false},  // never across character halves
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYc!", false},
        // Two different characters whose second bytes are 'A' and 'a'.
        {"\x81\x41.txt", "\x81\x61.txt", false},
        {"*.txt", "\x81\x41.TXT", true},
    };
    for (const PatternCase& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " on " + c.name);
        EXPECT_EQ(matches_pattern(c.pattern, c.name), c.matches);
    }
}

}  // namespace
}  // namespace varnel
