// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/item_names.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>

#include "platform/code_page_chars.h"
#include "platform/name_order.h"

namespace varnel {

ItemName item_name_from_fs(std::string fs_name, const Codec& codec) {
    std::string text = codec.text_from_fs(fs_name);
    return ItemName{std::move(text), std::move(fs_name)};
}

std::vector<ItemName> item_names_from_fs(std::vector<std::string> fs_names, const Codec& codec) {
    std::vector<ItemName> names;
    names.reserve(fs_names.size());
    for (std::string& fs : fs_names) names.push_back(item_name_from_fs(std::move(fs), codec));
    return names;
}

namespace {

// A name's place in the sort: the eight key bytes that follow the prefix
// every key shares, big-endian, so that most comparisons are one integer
// comparison; ties compare the whole keys.
struct SortEntry {
    std::uint64_t head;
    std::uint32_t index;
};

std::uint64_t head_after(std::string_view key, std::size_t skip) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const std::size_t at = skip + i;
        head = head << 8 | (at < key.size() ? static_cast<unsigned char>(key[at]) : 0u);
    }
    return head;
}

// Puts the name that was at order[i].index at position i, following the
// permutation's cycles (no second array of names).
void permute(std::vector<ItemName>& names, const std::vector<SortEntry>& order) {
    std::vector<std::uint32_t> source(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) source[i] = order[i].index;
    for (std::size_t start = 0; start < source.size(); ++start) {
        if (source[start] == start) continue;
        ItemName held = std::move(names[start]);
        std::size_t at = start;
        while (source[at] != start) {
            const std::size_t from = source[at];
            names[at] = std::move(names[from]);
            source[at] = static_cast<std::uint32_t>(at);
            at = from;
        }
        names[at] = std::move(held);
        source[at] = static_cast<std::uint32_t>(at);
    }
}

// How many leading bytes every name's key shares, found from the texts: the
// key of their common start, cut back to a character boundary that every
// text parses alike and that does not end a digit run (a run that goes on
// differently in each text has a different key).
std::size_t shared_key_bytes(const std::vector<ItemName>& names) {
    const std::string_view first = names.front().text;
    std::size_t common = first.size();
    for (const ItemName& name : names) {
        const std::string_view text = name.text;
        std::size_t same = 0;
        while (same < common && same < text.size() && first[same] == text[same]) ++same;
        common = same;
    }
    std::size_t boundary = 0;
    // A character's size is read from its first byte, and from up to three
    // more when that is 0x80 or above: parse only where those are shared.
    for (std::size_t at = 0; at < common;) {
        if (static_cast<unsigned char>(first[at]) >= 0x80 && at + 4 > common) break;
        const std::size_t size = char_size_at(first, at);
        at += size;
        if (size != 1 || first[at - 1] < '0' || first[at - 1] > '9') boundary = at;
    }
    std::string key;
    append_natural_key(first.substr(0, boundary), key);
    return key.size();
}

// Sorts the entries of one run of equal heads by their whole keys (then
// the texts' bytes, then the original order); each key is built once.
void sort_run(const std::vector<ItemName>& names, SortEntry* first, SortEntry* last) {
    struct Keyed {
        std::string key;
        std::uint32_t index;
    };
    std::vector<Keyed> run;
    run.reserve(static_cast<std::size_t>(last - first));
    for (const SortEntry* entry = first; entry != last; ++entry) {
        run.push_back(Keyed{{}, entry->index});
        append_natural_key(names[entry->index].text, run.back().key);
    }
    std::sort(run.begin(), run.end(), [&](const Keyed& a, const Keyed& b) {
        const int by_key = a.key.compare(b.key);
        if (by_key != 0) return by_key < 0;
        const int by_bytes = names[a.index].text.compare(names[b.index].text);
        return by_bytes != 0 ? by_bytes < 0 : a.index < b.index;
    });
    for (const Keyed& keyed : run) (first++)->index = keyed.index;
}

}  // namespace

// One key per name, built into one reused buffer: only its head is kept.
// Names whose heads tie are then sorted run by run on whole keys, so memory
// beyond the heads is the keys of the longest run of equal heads.
void sort_naturally(std::vector<ItemName>& names) {
    if (names.size() < 2) return;
    const std::size_t shared = shared_key_bytes(names);
    std::string key;
    std::vector<SortEntry> entries;
    entries.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        key.clear();
        append_natural_key(names[i].text, key);
        entries.push_back(SortEntry{head_after(key, shared), static_cast<std::uint32_t>(i)});
    }
    std::sort(entries.begin(), entries.end(), [](const SortEntry& a, const SortEntry& b) {
        return a.head != b.head ? a.head < b.head : a.index < b.index;
    });
    for (std::size_t start = 0; start < entries.size();) {
        std::size_t end = start + 1;
        while (end < entries.size() && entries[end].head == entries[start].head) ++end;
        if (end - start > 1) sort_run(names, entries.data() + start, entries.data() + end);
        start = end;
    }
    permute(names, entries);
}

ItemFolder item_folder_from_fs(std::string fs_folder, const Codec& codec) {
    if (fs_folder.empty() || fs_folder.back() != '/') fs_folder.push_back('/');
    std::string text = codec.text_from_fs(fs_folder);
    return ItemFolder{std::move(text), std::move(fs_folder)};
}

}  // namespace varnel
