// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/common_tag_write.h"

#include <memory>

#include <taglib/aifffile.h>
#include <taglib/apefile.h>
#include <taglib/asffile.h>
#include <taglib/flacfile.h>
#include <taglib/mp4file.h>
#include <taglib/mpcfile.h>
#include <taglib/opusfile.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>

#include "audio/audio_formats.h"
#include "platform/error_text.h"
#include "platform/language.h"
#include "platform/tag_file_io.h"

namespace varnel {

namespace {

std::unique_ptr<TagLib::File> open_as(const std::string& extension, TagLib::IOStream* stream) {
    if (extension == "flac")
        return std::make_unique<TagLib::FLAC::File>(stream, TagLib::ID3v2::FrameFactory::instance(),
                                                    false);
    if (extension == "ogg" || extension == "oga")
        return std::make_unique<TagLib::Ogg::Vorbis::File>(stream, false);
    if (extension == "opus") return std::make_unique<TagLib::Ogg::Opus::File>(stream, false);
    if (extension == "m4a" || extension == "m4b" || extension == "mp4")
        return std::make_unique<TagLib::MP4::File>(stream, false);
    if (extension == "ape") return std::make_unique<TagLib::APE::File>(stream, false);
    if (extension == "wv") return std::make_unique<TagLib::WavPack::File>(stream, false);
    if (extension == "mpc") return std::make_unique<TagLib::MPC::File>(stream, false);
    if (extension == "wma" || extension == "asf")
        return std::make_unique<TagLib::ASF::File>(stream, false);
    if (extension == "aiff" || extension == "aif")
        return std::make_unique<TagLib::RIFF::AIFF::File>(stream, false);
    if (extension == "wav") return std::make_unique<TagLib::RIFF::WAV::File>(stream, false);
    return nullptr;
}

Result<std::string> whole_file(ByteFile& file) {
    const Result<std::uint64_t> length = file.length();
    if (!length) return length.error();
    return file.read_bytes(0, static_cast<std::size_t>(*length));
}

// The smallest FileEdit turning `old_bytes` into `new_bytes`: the bytes
// both share at the end (the audio) are kept, and so are those they share
// at the start when the change lies in the second half (a tag at the end).
FileEdit edit_between(std::string_view old_bytes, std::string_view new_bytes) {
    const std::size_t shorter = std::min(old_bytes.size(), new_bytes.size());
    std::size_t prefix = 0;
    while (prefix < shorter && old_bytes[prefix] == new_bytes[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix &&
           old_bytes[old_bytes.size() - 1 - suffix] == new_bytes[new_bytes.size() - 1 - suffix])
        ++suffix;
    FileEdit edit;
    if (prefix > old_bytes.size() / 2) {
        edit.cut = 0;
        edit.tail_from = prefix;
        edit.tail = std::string(new_bytes.substr(prefix));
    } else {
        edit.cut = old_bytes.size() - suffix;
        edit.head = std::string(new_bytes.substr(0, new_bytes.size() - suffix));
    }
    return edit;
}

constexpr const char* property_keys[6] = {"ARTIST",      "TITLE", "ALBUM",
                                          "TRACKNUMBER", "DATE",  "GENRE"};

}  // namespace

PlannedEdit plan_common_tag_edit(ByteFile& file, const std::string& path, const CommonEdits& edits,
                                 const Codec& codec) {
    const std::string extension = lower_extension(path);
    const Result<std::string> old_bytes = whole_file(file);
    if (!old_bytes) return {std::nullopt, system_error_text(old_bytes.error().number)};
    TagLib::ByteVector data(old_bytes->data(), static_cast<unsigned int>(old_bytes->size()));
    TagLib::ByteVectorStream stream(data);
    const std::unique_ptr<TagLib::File> audio = open_as(extension, &stream);
    if (!audio)
        return {std::nullopt,
                say("这种格式的标签不能写入", "Tags of this format cannot be written")};
    if (!audio->isValid())
        return {std::nullopt, say("文件不是有效的音频文件", "The file is not a valid audio file")};
    TagLib::PropertyMap properties = audio->properties();
    for (std::size_t i = 0; i < 6; ++i) {
        if (!edits[i]) continue;
        const std::optional<std::string> utf8 = codec.to_utf8(*edits[i]);
        if (!utf8) return {std::nullopt, say("文字无效", "The text is not valid")};
        if (utf8->empty())
            properties.erase(property_keys[i]);
        else
            properties.replace(property_keys[i],
                               TagLib::StringList(TagLib::String(*utf8, TagLib::String::UTF8)));
    }
    audio->setProperties(properties);
    if (!audio->save())
        return {std::nullopt, say("TagLib 未能写入标签", "TagLib could not write the tag")};
    const TagLib::ByteVector& saved = *stream.data();
    const std::string_view new_bytes(saved.data(), saved.size());
    if (new_bytes == *old_bytes) return {};
    return {edit_between(*old_bytes, new_bytes), {}};
}

}  // namespace varnel
