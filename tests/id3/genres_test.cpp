// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/genres.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {
namespace {

std::vector<std::string_view> display_names() {
    std::vector<std::string_view> names;
    for (int number : genres_in_display_order()) names.push_back(genre_name(number));
    return names;
}

// Position of `name` in the display order; fails the test when missing.
std::ptrdiff_t shown_at(std::string_view name) {
    const std::vector<std::string_view> names = display_names();
    const auto found = std::find(names.begin(), names.end(), name);
    EXPECT_NE(found, names.end()) << name;
    return found - names.begin();
}

TEST(GenreTable, NamesTheNumbersFromZeroTo125) {
    EXPECT_EQ(genre_name(0), "Blues");
    EXPECT_EQ(genre_name(17), "Rock");
    EXPECT_EQ(genre_name(79), "Hard Rock");
    EXPECT_EQ(genre_name(80), "Folk");
    EXPECT_EQ(genre_name(125), "Dance Hall");
}

TEST(GenreTable, KeepsTheSpellingsFilesUse) {
    EXPECT_EQ(genre_name(40), "AlternRock");
    EXPECT_EQ(genre_name(67), "Psychadelic");
    EXPECT_EQ(genre_name(85), "Bebob");
    EXPECT_EQ(genre_name(93), "Psychedelic Rock");
    EXPECT_EQ(genre_name(100), "Humour");
    EXPECT_EQ(genre_name(123), "A capella");
    EXPECT_EQ(genre_name(62), "Pop/Funk");
    EXPECT_EQ(genre_name(29), "Jazz+Funk");
}

TEST(GenreTable, HasNoNameOrPositionOutsideTheTable) {
    for (int number : {-1, 126, 200, 255}) {
        EXPECT_EQ(genre_name(number), "") << number;
        EXPECT_EQ(genre_display_position(number), -1) << number;
    }
}

TEST(GenreDisplayOrder, ListsEveryGenreOnce) {
    std::vector<int> numbers(genres_in_display_order().begin(), genres_in_display_order().end());
    std::sort(numbers.begin(), numbers.end());
    for (int number = 0; number < genre_count; ++number)
        EXPECT_EQ(numbers[static_cast<std::size_t>(number)], number);
}

TEST(GenreDisplayOrder, PositionTableFindsEachNumbersEntry) {
    const auto& order = genres_in_display_order();
    for (int number = 0; number < genre_count; ++number) {
        const int position = genre_display_position(number);
        ASSERT_GE(position, 0);
        EXPECT_EQ(order[static_cast<std::size_t>(position)], number);
    }
}

TEST(GenreDisplayOrder, BeginsWithSpaceBeforeEndBeforeLetters) {
    const std::vector<std::string_view> names = display_names();
    const std::vector<std::string_view> first(names.begin(), names.begin() + 8);
    EXPECT_EQ(first,
              (std::vector<std::string_view>{"A capella", "Acid Jazz", "Acid Punk", "Acid",
                                             "Acoustic", "Alternative", "AlternRock", "Ambient"}));
}

TEST(GenreDisplayOrder, IgnoresDashesAndPutsTheEndBeforePunctuation) {
    EXPECT_LT(shown_at("Dance Hall"), shown_at("Dance"));
    EXPECT_LT(shown_at("Eurodance"), shown_at("Euro-House"));
    EXPECT_LT(shown_at("Folklore"), shown_at("Folk-Rock"));
    EXPECT_LT(shown_at("Pop"), shown_at("Pop/Funk"));
    EXPECT_LT(shown_at("Pop/Funk"), shown_at("Pop-Folk"));
    EXPECT_LT(shown_at("Jazz"), shown_at("Jazz+Funk"));
}

TEST(GenreDisplayOrder, IgnoresLetterCase) {
    // Plain code order would put "AlternRock" before "Alternative" ('R' < 'a').
    EXPECT_LT(shown_at("Alternative"), shown_at("AlternRock"));
    EXPECT_LT(shown_at("R&B"), shown_at("Rap"));  // '&' before 'a' in code order
    EXPECT_EQ(shown_at("Dance Hall") + 1, shown_at("Dance"));
    EXPECT_EQ(display_names().back(), "Vocal");
}

}  // namespace
}  // namespace varnel
