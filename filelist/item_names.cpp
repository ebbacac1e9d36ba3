#include "filelist/item_names.h"

#include <utility>

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

ItemFolder item_folder_from_fs(std::string fs_folder, const Codec& codec) {
    if (fs_folder.empty() || fs_folder.back() != '/') fs_folder.push_back('/');
    std::string text = codec.text_from_fs(fs_folder);
    return ItemFolder{std::move(text), std::move(fs_folder)};
}

}  // namespace varnel
