// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tag record: twelve code-page texts, all empty when created.

#include <string>

namespace varnel {

struct TagFields {
    std::string title;
    std::string artist;
    std::string album;
    std::string track;
    std::string year;
    std::string genre;  // ID3v1: the genre number in decimal; ID3v2: a name or free text
    std::string comment;
    std::string composer;
    std::string original_artist;
    std::string copyright;
    std::string url;
    std::string encoder;

    friend bool operator==(const TagFields&, const TagFields&) = default;
};

}  // namespace varnel
