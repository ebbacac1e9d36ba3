#pragma once
// The product's fixed facts: the version the update check compares against
// and the addresses of its web site.

#include <string_view>

namespace varnel::product {

// The version the update page is compared with.
inline constexpr std::string_view current_version = "1.3";

// The update page and the home page.
inline constexpr std::string_view update_page_url = "https://varnel.app/update/latest.txt";
inline constexpr std::string_view home_page_url = "https://varnel.app/";

}  // namespace varnel::product
