// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The six common fields (artist, title, album, track, year, genre) of the
// audio formats of audio_formats.h, in the code page.
//
// Where the raw bytes come from, so that legacy GBK texts read as the
// right Chinese:
// - FLAC: the VORBIS_COMMENT block, walked here; Ogg Vorbis, Opus and Ogg
//   FLAC: the comment packet as TagLib's Ogg::File::packet(1) returns it.
//   Texts are UTF-8 by the format; bytes that are not are legacy text.
// - APE, WavPack, Musepack: the APEv2 items, found from the footer here
//   (UTF-8 by the format, same handling); without one the ID3v1 tag.
// - AIFF, WAV, DSF: the ID3v2 tag's bytes, read as the MP3 reader reads
//   them (encoding 0 kept as its bytes). WAV without one: the RIFF INFO
//   chunk through TagLib, whose strings are made to keep their bytes.
// - MP4/M4A: through TagLib; the format has UTF-8 only, and TagLib's
//   strings are taken as Unicode.
// - WMA/ASF: through TagLib; strings are UTF-16, and a string whose every
//   character is below U+0100 is the widened bytes of an old ripper's
//   text, so its bytes are read as legacy text (Latin-1 when they are not
//   valid code-page text).

#include <string>

#include "id3/tag_fields.h"
#include "platform/codec.h"
#include "platform/result.h"

namespace varnel {

enum class AudioTagRead {
    fields,  // at least one of the six fields is not empty
    no_tag,  // a readable file without any of the six fields
};

// Reads the file at `path` (file-system bytes; the format is picked by the
// extension of the path) into the six fields of `fields`, the other six
// cleared. The track is as the tag holds it ("3/12" stays). Why the file
// cannot be opened otherwise (open_regular_file), the fields then cleared.
[[nodiscard]] Result<AudioTagRead> read_common_tags(const std::string& path, TagFields& fields,
                                                    const Codec& codec);

}  // namespace varnel
