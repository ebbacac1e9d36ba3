// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/common_tags.h"

#include <memory>
#include <mutex>

#include <taglib/asffile.h>
#include <taglib/infotag.h>
#include <taglib/mp4file.h>
#include <taglib/oggfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>

#include "audio/audio_formats.h"
#include "audio/byte_file_stream.h"
#include "audio/legacy_text.h"
#include "audio/raw_comments.h"
#include "audio/tag_blocks.h"
#include "id3/id3v1.h"
#include "id3/id3v2_reader.h"
#include "platform/tag_file_io.h"

namespace varnel {

namespace {

enum class Format { flac, ogg, ape, aiff, wav, dsf, mp4, asf };

std::optional<Format> format_of(const std::string& path) {
    const std::string e = lower_extension(path);
    if (e == "flac") return Format::flac;
    if (e == "ogg" || e == "oga" || e == "opus") return Format::ogg;
    if (e == "ape" || e == "wv" || e == "mpc") return Format::ape;
    if (e == "aiff" || e == "aif") return Format::aiff;
    if (e == "wav") return Format::wav;
    if (e == "dsf") return Format::dsf;
    if (e == "m4a" || e == "m4b" || e == "mp4") return Format::mp4;
    if (e == "wma" || e == "asf") return Format::asf;
    return std::nullopt;
}

void decode_utf8_fields(TagFields& fields, const Codec& codec) {
    for (std::string* f :
         {&fields.artist, &fields.title, &fields.album, &fields.track, &fields.year, &fields.genre})
        *f = text_from_utf8_field(*f, codec);
}

// Keeps the bytes of RIFF INFO texts: TagLib would drop a text that is not
// UTF-8, so each byte becomes one character below U+0100. TagLib's base
// has no virtual destructor; the one handler lives as long as the process.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class ByteKeepingInfoHandler final : public TagLib::RIFF::Info::StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override {
        return {data, TagLib::String::Latin1};
    }
};
#pragma GCC diagnostic pop

void keep_info_bytes() {
    static const ByteKeepingInfoHandler handler;
    static std::once_flag once;
    std::call_once(once, [] { TagLib::RIFF::Info::Tag::setStringHandler(&handler); });
}

bool is_narrow(const TagLib::String& text) {
    for (const wchar_t c : text)
        if (static_cast<unsigned long>(c) > 0xFF) return false;
    return true;
}

std::string utf8_of(const TagLib::String& text) {
    return text.to8Bit(true);
}

std::string from_unicode(const TagLib::String& text, const Codec& codec) {
    return codec.from_utf8_lossy(utf8_of(text));
}

// A string that may hold an old ripper's bytes, one per character.
std::string from_widened(const TagLib::String& text, const Codec& codec) {
    if (!is_narrow(text)) return from_unicode(text, codec);
    return text_from_latin1_field(text.to8Bit(false), codec);
}

bool read_id3v2_bytes(const std::string& tag, TagFields& fields, const Codec& codec) {
    fields.artist = find_frame_text(tag, "TPE1", codec);
    fields.title = find_frame_text(tag, "TIT2", codec);
    fields.album = find_frame_text(tag, "TALB", codec);
    fields.track = find_frame_text(tag, "TRCK", codec);
    fields.year = find_frame_text(tag, "TYER", codec);
    if (fields.year.empty()) fields.year = year_of_date(find_frame_text(tag, "TDRC", codec));
    fields.genre = resolve_genre_text(find_frame_text(tag, "TCON", codec));
    return true;
}

bool read_flac(ByteFile& file, TagFields& fields) {
    const std::optional<std::string> block = flac_comment_block(file);
    if (!block) return false;
    std::optional<TagFields> raw = vorbis_comment_fields(*block);
    if (raw) fields = std::move(*raw);
    return raw.has_value();
}

bool read_ogg(ByteFile& file, const std::string& path, TagFields& fields) {
    ByteFileStream stream(file, path);
    std::unique_ptr<TagLib::Ogg::File> ogg;
    if (lower_extension(path) == "opus")
        ogg = std::make_unique<TagLib::Ogg::Opus::File>(&stream, false);
    else
        ogg = std::make_unique<TagLib::Ogg::Vorbis::File>(&stream, false);
    if (!ogg->isValid()) {
        stream.seek(0);
        ogg = std::make_unique<TagLib::Ogg::FLAC::File>(&stream, false);
        if (!ogg->isValid()) return false;
    }
    const TagLib::ByteVector packet = ogg->packet(1);
    const std::string_view bytes(packet.data(), packet.size());
    std::size_t mark = 0;
    if (bytes.substr(0, 7) == "\x03vorbis")
        mark = 7;
    else if (bytes.substr(0, 8) == "OpusTags")
        mark = 8;
    else if (dynamic_cast<TagLib::Ogg::FLAC::File*>(ogg.get()) != nullptr)
        mark = 4;  // the metadata block header
    std::optional<TagFields> raw =
        vorbis_comment_fields(bytes.substr(std::min(mark, bytes.size())));
    if (raw) fields = std::move(*raw);
    return raw.has_value();
}

bool read_ape(ByteFile& file, TagFields& fields, const Codec& codec) {
    if (const std::optional<ApeItems> items = ape_tag_items(file)) {
        std::optional<TagFields> raw = ape_item_fields(items->bytes, items->count);
        if (raw) {
            fields = std::move(*raw);
            decode_utf8_fields(fields, codec);
            return true;
        }
    }
    return read_id3v1_tag(file, fields);
}

bool read_wav_info(ByteFile& file, const std::string& path, TagFields& fields, const Codec& codec) {
    keep_info_bytes();
    ByteFileStream stream(file, path);
    TagLib::RIFF::WAV::File wav(&stream, false);
    if (!wav.isValid() || !wav.hasInfoTag()) return false;
    const TagLib::RIFF::Info::Tag& info = *wav.InfoTag();
    const auto text = [&](const char* id) {
        return text_from_unknown_field(info.fieldText(id).to8Bit(false), codec);
    };
    fields.artist = text("IART");
    fields.title = text("INAM");
    fields.album = text("IPRD");
    fields.track = text("IPRT");
    if (fields.track.empty()) fields.track = text("ITRK");
    fields.year = text("ICRD");
    fields.genre = text("IGNR");
    return true;
}

std::string mp4_text(const TagLib::MP4::Tag& tag, const char* key, const Codec& codec) {
    if (!tag.contains(key)) return {};
    const TagLib::StringList list = tag.item(key).toStringList();
    return list.isEmpty() ? std::string() : from_unicode(list.front(), codec);
}

bool read_mp4(ByteFile& file, const std::string& path, TagFields& fields, const Codec& codec) {
    ByteFileStream stream(file, path);
    TagLib::MP4::File mp4(&stream, false);
    if (!mp4.isValid() || !mp4.hasMP4Tag()) return false;
    const TagLib::MP4::Tag& tag = *mp4.tag();
    fields.artist = mp4_text(tag,
                             "\xA9"
                             "ART",
                             codec);
    fields.title = mp4_text(tag,
                            "\xA9"
                            "nam",
                            codec);
    fields.album = mp4_text(tag,
                            "\xA9"
                            "alb",
                            codec);
    fields.year = mp4_text(tag,
                           "\xA9"
                           "day",
                           codec);
    fields.genre = mp4_text(tag,
                            "\xA9"
                            "gen",
                            codec);
    if (fields.genre.empty()) fields.genre = from_unicode(tag.genre(), codec);  // gnre number
    if (tag.contains("trkn")) {
        const int track = tag.item("trkn").toIntPair().first;
        if (track > 0) fields.track = std::to_string(track);
    }
    return true;
}

std::string asf_text(const TagLib::ASF::Tag& tag, const char* name, const Codec& codec) {
    const TagLib::ASF::AttributeListMap& map = tag.attributeListMap();
    if (!map.contains(name) || map[name].isEmpty()) return {};
    const TagLib::ASF::Attribute& value = map[name].front();
    if (value.type() == TagLib::ASF::Attribute::UnicodeType)
        return from_widened(value.toString(), codec);
    if (value.type() == TagLib::ASF::Attribute::DWordType) return std::to_string(value.toUInt());
    return {};
}

bool read_asf(ByteFile& file, const std::string& path, TagFields& fields, const Codec& codec) {
    ByteFileStream stream(file, path);
    TagLib::ASF::File asf(&stream, false);
    if (!asf.isValid()) return false;
    const TagLib::ASF::Tag& tag = *asf.tag();
    fields.artist = from_widened(tag.artist(), codec);
    fields.title = from_widened(tag.title(), codec);
    fields.album = asf_text(tag, "WM/AlbumTitle", codec);
    fields.track = asf_text(tag, "WM/TrackNumber", codec);
    if (fields.track.empty()) fields.track = asf_text(tag, "WM/Track", codec);
    fields.year = asf_text(tag, "WM/Year", codec);
    fields.genre = asf_text(tag, "WM/Genre", codec);
    return true;
}

bool read_format(Format format, ByteFile& file, const std::string& path, TagFields& fields,
                 const Codec& codec) {
    switch (format) {
        case Format::flac:
            if (!read_flac(file, fields)) return false;
            decode_utf8_fields(fields, codec);
            return true;
        case Format::ogg:
            if (!read_ogg(file, path, fields)) return false;
            decode_utf8_fields(fields, codec);
            return true;
        case Format::ape:
            return read_ape(file, fields, codec);
        case Format::aiff: {
            const std::optional<std::string> tag = aiff_id3_tag(file);
            return tag && read_id3v2_bytes(*tag, fields, codec);
        }
        case Format::wav: {
            if (const std::optional<std::string> tag = wav_id3_tag(file))
                return read_id3v2_bytes(*tag, fields, codec);
            return read_wav_info(file, path, fields, codec);
        }
        case Format::dsf: {
            const std::optional<std::string> tag = dsf_id3_tag(file);
            return tag && read_id3v2_bytes(*tag, fields, codec);
        }
        case Format::mp4:
            return read_mp4(file, path, fields, codec);
        case Format::asf:
            return read_asf(file, path, fields, codec);
    }
    return false;
}

bool has_common_field(const TagFields& f) {
    return !(f.artist.empty() && f.title.empty() && f.album.empty() && f.track.empty() &&
             f.year.empty() && f.genre.empty());
}

}  // namespace

Result<AudioTagRead> read_common_tags(const std::string& path, TagFields& fields,
                                      const Codec& codec) {
    fields = TagFields{};
    Result<ByteFile> file = open_regular_file(path, false);
    if (!file) return file.error();
    const std::optional<Format> format = format_of(path);
    if (!format || !read_format(*format, *file, path, fields, codec)) {
        fields = TagFields{};
        return AudioTagRead::no_tag;
    }
    // Only the six common fields count; a reader may have filled others.
    TagFields common;
    common.artist = std::move(fields.artist);
    common.title = std::move(fields.title);
    common.album = std::move(fields.album);
    common.track = std::move(fields.track);
    common.year = std::move(fields.year);
    common.genre = std::move(fields.genre);
    fields = std::move(common);
    return has_common_field(fields) ? AudioTagRead::fields : AudioTagRead::no_tag;
}

}  // namespace varnel
