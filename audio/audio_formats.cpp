// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/audio_formats.h"

#include <algorithm>
#include <array>

namespace varnel {

namespace {

constexpr std::array<std::string_view, 16> extensions = {"flac", "ogg", "oga", "opus", "m4a", "m4b",
                                                         "mp4",  "ape", "wv",  "mpc",  "wma", "asf",
                                                         "aiff", "aif", "wav", "dsf"};

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool is_other_audio_name(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot + 1);
    return std::any_of(extensions.begin(), extensions.end(), [&](std::string_view known) {
        return known.size() == extension.size() &&
               std::equal(known.begin(), known.end(), extension.begin(),
                          [](char a, char b) { return a == lower(b); });
    });
}

std::string lower_extension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string extension(name.substr(dot + 1));
    for (char& c : extension) c = lower(c);
    return extension;
}

}  // namespace varnel
