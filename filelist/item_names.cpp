#include "filelist/item_names.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>

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

// Puts names[i] at position order[i], following the permutation's cycles
// (no second array of names).
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

}  // namespace

// Keys are built twice (once to find the prefix they all share, once for
// the heads) rather than kept: a folder of 100,000 names sorts without
// holding 100,000 keys.
void sort_naturally(std::vector<ItemName>& names) {
    if (names.size() < 2) return;
    std::string key;
    std::string shared;
    append_natural_key(names.front().text, shared);
    for (const ItemName& name : names) {
        key.clear();
        append_natural_key(name.text, key);
        std::size_t same = 0;
        while (same < shared.size() && same < key.size() && shared[same] == key[same]) ++same;
        shared.resize(same);
    }
    std::vector<SortEntry> entries;
    entries.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        key.clear();
        append_natural_key(names[i].text, key);
        entries.push_back(SortEntry{head_after(key, shared.size()), static_cast<std::uint32_t>(i)});
    }
    std::string a_key;
    std::string b_key;
    std::sort(entries.begin(), entries.end(), [&](const SortEntry& a, const SortEntry& b) {
        if (a.head != b.head) return a.head < b.head;
        const std::string& a_text = names[a.index].text;
        const std::string& b_text = names[b.index].text;
        a_key.clear();
        b_key.clear();
        append_natural_key(a_text, a_key);
        append_natural_key(b_text, b_key);
        const int by_key = a_key.compare(b_key);
        if (by_key != 0) return by_key < 0;
        const int by_bytes = a_text.compare(b_text);
        return by_bytes != 0 ? by_bytes < 0 : a.index < b.index;
    });
    permute(names, entries);
}

ItemFolder item_folder_from_fs(std::string fs_folder, const Codec& codec) {
    if (fs_folder.empty() || fs_folder.back() != '/') fs_folder.push_back('/');
    std::string text = codec.text_from_fs(fs_folder);
    return ItemFolder{std::move(text), std::move(fs_folder)};
}

}  // namespace varnel
