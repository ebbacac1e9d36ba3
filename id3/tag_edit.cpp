// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/tag_edit.h"

#include <cerrno>
#include <optional>

#include "id3/id3v1.h"
#include "id3/safe_rewrite.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

constexpr std::uint64_t v1_size = 128;

TagEditResult failed(int error) {
    return TagEditResult{false, error, {}};
}

// The ID3v2 part of the edit: the new start of the file, or nullopt when
// frames stop it (`result` then says which) or on an error.
std::optional<FileEdit> v2_part(ByteFile& file, const TagChanges& changes, const Codec& codec,
                                TagEditResult& result) {
    if (changes.v2 == TagChange::keep) return FileEdit{};
    const std::optional<TagExtent> tag = editable_id3v2_tag(file, changes.v2 == TagChange::write);
    if (!tag) return std::nullopt;
    if (changes.v2 == TagChange::remove) return FileEdit{tag->length, {}, std::nullopt, {}};
    BuiltFrames built =
        build_id3v2_frames(changes.v2_fields, tag->bytes, changes.v2_options, codec);
    result.unconvertible = std::move(built.unconvertible);
    if (!result.unconvertible.empty() && !changes.v2_options.drop_unconvertible) {
        errno = 0;
        return std::nullopt;
    }
    return id3v2_head(*tag, built.frames);
}

}  // namespace

TagEditResult edit_tags(ByteFile& file, const std::string& path, const TagChanges& changes,
                        const Codec& codec) {
    if (!recover_file_edit(file, path)) return failed(errno);
    TagEditResult result;
    std::optional<FileEdit> edit = v2_part(file, changes, codec, result);
    if (!edit) {
        result.error = errno;
        return result;
    }
    const std::optional<std::uint64_t> length = file.length();
    if (!length) return failed(errno);
    const std::uint64_t trailer = has_id3v1_tag(file) ? *length - v1_size : *length;
    if (changes.v1 != TagChange::keep && trailer < edit->cut)
        return failed(EINVAL);  // the trailer lies inside what the ID3v2 tag takes
    if (changes.v1 != TagChange::keep) {
        edit->tail_from = trailer;
        if (changes.v1 == TagChange::write) edit->tail = changes.v1_block;
    }
    result.ok = commit_file_edit(file, path, *edit);
    result.error = result.ok ? 0 : errno;
    return result;
}

}  // namespace varnel
