// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "filelist/item_names.h"
#include "platform/name_order.h"

namespace varnel {
namespace {

// Random names over the characters that matter: digit runs (with leading
// zeros and of any length), letters of both cases, punctuation and GBK
// characters, often sharing long prefixes.
std::vector<ItemName> random_names(std::mt19937& random, int count, const std::string& prefix) {
    const std::vector<std::string> pieces{
        "0", "1", "2", "9", "00", "07", "10",       "123456789012", "a",
        "A", "b", "Z", "_", ".",  " ",  "\xC4\xE3", "\xBA\xC3",     "\xB0\xA1"};
    std::vector<ItemName> names;
    for (int i = 0; i < count; ++i) {
        std::string text = prefix;
        const int length = static_cast<int>(random() % 6);
        for (int k = 0; k < length; ++k) text += pieces[random() % pieces.size()];
        names.push_back(ItemName{text, "fs" + std::to_string(i)});
    }
    return names;
}

TEST(NaturalSort, AgreesWithNaturalCompareAndKeepsNameAndSpellingTogether) {
    std::mt19937 random(7);
    for (const std::string prefix :
         {"", "track ", "disc 1", "\xC4\xE3\xBA\xC3 01 - long shared prefix ", "\x81\x30"}) {
        for (int count : {0, 1, 2, 50, 3000}) {
            SCOPED_TRACE(prefix + std::to_string(count));
            std::vector<ItemName> names = random_names(random, count, prefix);
            std::vector<ItemName> expected = names;
            std::stable_sort(
                expected.begin(), expected.end(),
                [](const ItemName& a, const ItemName& b) { return natural_less(a.text, b.text); });
            sort_naturally(names);
            ASSERT_EQ(names.size(), expected.size());
            for (std::size_t i = 0; i < names.size(); ++i) {
                EXPECT_EQ(names[i].text, expected[i].text) << i;
                EXPECT_EQ(names[i].fs, expected[i].fs) << i;  // ties keep their order
            }
        }
    }
}

}  // namespace
}  // namespace varnel
