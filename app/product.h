// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The product's fixed facts: its name and versions (from the build, see
// app/version.h), the version the update check compares against and the
// addresses of its web site.

#include <string_view>

#include "app/version.h"

namespace varnel::product {

// The version the update page is compared with.
inline constexpr std::string_view current_version = version;

// The update page and the home page.
inline constexpr std::string_view update_page_url = "https://varnel.app/update/latest.txt";
inline constexpr std::string_view home_page_url = "https://varnel.app/";

}  // namespace varnel::product
