#include "filelist/item_names.h"

#include <algorithm>
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

void sort_naturally(std::vector<ItemName>& names) {
    std::sort(names.begin(), names.end(), [](const ItemName& a, const ItemName& b) {
        return natural_less(a.text, b.text);
    });
}

ItemFolder item_folder_from_fs(std::string fs_folder, const Codec& codec) {
    if (fs_folder.empty() || fs_folder.back() != '/') fs_folder.push_back('/');
    std::string text = codec.text_from_fs(fs_folder);
    return ItemFolder{std::move(text), std::move(fs_folder)};
}

}  // namespace varnel
