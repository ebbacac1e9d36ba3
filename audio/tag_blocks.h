// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The raw bytes of the tags that formats keep in blocks of their own,
// found by walking the container. Each returns nullopt when the file holds
// no such block or cannot be read.

#include <optional>
#include <string>

#include "platform/byte_file.h"

namespace varnel {

// The data of the VORBIS_COMMENT metadata block of a FLAC file ("fLaC",
// after an ID3v2 tag if one comes first).
[[nodiscard]] std::optional<std::string> flac_comment_block(ByteFile& file);

// The items of the APEv2 tag at the end of the file, or before a closing
// ID3v1 tag, with their count: the bytes between header and footer.
struct ApeItems {
    std::string bytes;
    std::uint32_t count = 0;
};
[[nodiscard]] std::optional<ApeItems> ape_tag_items(ByteFile& file);

// The ID3v2 tag (header included) of an AIFF file (chunk "ID3 " or "id3 "
// of the FORM), a WAV file (same chunk of the RIFF) or a DSF file (at the
// metadata offset of its "DSD " chunk).
[[nodiscard]] std::optional<std::string> aiff_id3_tag(ByteFile& file);
[[nodiscard]] std::optional<std::string> wav_id3_tag(ByteFile& file);
[[nodiscard]] std::optional<std::string> dsf_id3_tag(ByteFile& file);

}  // namespace varnel
