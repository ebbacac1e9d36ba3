// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/replace_rule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnel {
namespace {

using Names = std::vector<std::string>;

Names run(const ReplaceOptions& options, const Names& old) {
    Names out(old.size());
    compute_new_names(options, old, out);
    return out;
}

ReplaceOptions opts(std::string find, std::string with, NameScope scope, bool case_sensitive) {
    ReplaceOptions o;
    o.find = std::move(find);
    o.with = std::move(with);
    o.scope = scope;
    o.case_sensitive = case_sensitive;
    return o;
}

TEST(ReplaceRule, EmptySearchTextLeavesNamesUnchanged) {
    const Names names{"song.mp3", ".profile", "README", "a.b.c", "x."};
    for (NameScope scope : {NameScope::main_name, NameScope::extension, NameScope::both}) {
        EXPECT_EQ(run(opts("", "X", scope, false), names), names);
    }
}

TEST(ReplaceRule, ScopeSelectsWhichPartIsSearched) {
    const Names old{"my_song_1.mp_3", "a_b"};
    EXPECT_EQ(run(opts("_", " ", NameScope::main_name, true), old),
              (Names{"my song 1.mp_3", "a b"}));
    EXPECT_EQ(run(opts("_", " ", NameScope::extension, true), old),
              (Names{"my_song_1.mp 3", "a_b"}));
    EXPECT_EQ(run(opts("_", "", NameScope::both, true), old), (Names{"mysong1.mp3", "ab"}));
}

TEST(ReplaceRule, ExtensionEmptiedToItsDotIsDropped) {
    EXPECT_EQ(run(opts("MP3", "", NameScope::extension, false), {"song.mp3"}), (Names{"song"}));
    EXPECT_EQ(run(opts("MP3", "", NameScope::extension, true), {"song.mp3"}), (Names{"song.mp3"}));
    EXPECT_EQ(run(opts("mp3", "", NameScope::both, true), {"mp3.mp3"}), (Names{""}));
    // A name that already ends in a lone dot keeps it: nothing was removed.
    EXPECT_EQ(run(opts("q", "", NameScope::extension, true), {"x."}), (Names{"x."}));
    EXPECT_EQ(run(opts("q", "", NameScope::main_name, true), {"x."}), (Names{"x."}));
}

TEST(ReplaceRule, TheExtensionsOwnDotIsNeverMatched) {
    EXPECT_EQ(run(opts(".", "-", NameScope::extension, true), {"archive.tar.gz"}),
              (Names{"archive.tar.gz"}));
    EXPECT_EQ(run(opts(".", "-", NameScope::main_name, true), {"archive.tar.gz"}),
              (Names{"archive-tar.gz"}));
    EXPECT_EQ(run(opts(".", "", NameScope::both, true), {"a.b.c"}), (Names{"ab.c"}));
}

TEST(ReplaceRule, OccurrencesDoNotOverlapOrSpanTheDot) {
    EXPECT_EQ(run(opts("aa", "b", NameScope::main_name, true), {"aaaa.aaa"}), (Names{"bb.aaa"}));
    for (NameScope scope : {NameScope::main_name, NameScope::extension, NameScope::both}) {
        EXPECT_EQ(run(opts("a.m", "X", scope, false), {"data.mp3"}), (Names{"data.mp3"}));
    }
}

TEST(ReplaceRule, NeverMatchesInsideATwoByteCharacter) {
    // 0x81 0x41 is one character whose second byte is 'A'.
    const std::string c = "\x81\x41";
    const Names old{c + "A." + c + "a"};
    EXPECT_EQ(run(opts("A", "x", NameScope::both, true), old), (Names{c + "x." + c + "a"}));
    EXPECT_EQ(run(opts("a", "x", NameScope::both, false), old), (Names{c + "x." + c + "x"}));
}

}  // namespace
}  // namespace varnel
