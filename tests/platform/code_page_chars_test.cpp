// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/code_page_chars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codec.h"

namespace varnel {
namespace {

std::string gb(const char8_t* utf8) {
    static const Codec codec;
    const std::string text(reinterpret_cast<const char*>(utf8));
    return codec.from_utf8(text).value();
}

std::vector<std::size_t> sizes(std::string_view t) {
    std::vector<std::size_t> out;
    for_each_char(t, [&](std::size_t, std::size_t size) { out.push_back(size); });
    return out;
}

TEST(CodePageChars, SplitsTextIntoItsCharacters) {
    struct Case {
        std::string text;
        std::vector<std::size_t> sizes;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a1.", {1, 1, 1}},
        {gb(u8"你好"), {2, 2}},
        {gb(u8"😘"), {4}},
        {gb(u8"ñß한"), {4, 4, 4}},
        {gb(u8"a😘b你"), {1, 4, 1, 2}},
        {"\x81\x30\x81", {2, 1}},          // cut four-byte form: two-byte rule
        {"\x80\x30\x81\x30", {2, 2}},      // 0x80 never leads a four-byte form
        {"\x81\x30\xFF\x30", {2, 2}},      // third byte out of range
        {"\xC4", {1}},                     // lead byte at the end
        {"x\xC4\x41", {1, 2}},             // GBK second byte below 0x80
    };
    for (const Case& c : cases) EXPECT_EQ(sizes(c.text), c.sizes) << c.text;
}

TEST(CodePageChars, CutsAndBoundariesNeverSplitACharacter) {
    const std::string t = "a" + gb(u8"😘") + gb(u8"你") + "0";  // a | 4 | 2 | 0
    struct Case {
        std::size_t offset, prefix, after;
        bool boundary;
    };
    const std::vector<Case> cases = {
        {0, 0, 0, true}, {1, 1, 1, true},   {2, 1, 5, false}, {4, 1, 5, false},
        {5, 5, 5, true}, {6, 5, 7, false},  {7, 7, 7, true},  {8, 8, 8, true},
        {99, 8, 8, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(whole_char_prefix(t, c.offset), c.prefix) << c.offset;
        EXPECT_EQ(char_boundary_at_or_after(t, c.offset), c.after) << c.offset;
        EXPECT_EQ(is_char_boundary(t, c.offset), c.boundary) << c.offset;
    }
    EXPECT_EQ(char_count(t), 4u);
}

}  // namespace
}  // namespace varnel
