// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/tag_edit.h"

#include <optional>

#include "id3/id3v1.h"
#include "id3/safe_rewrite.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

constexpr std::uint64_t v1_size = 128;

// The ID3v2 part of the edit: the new start of the file, nullopt when
// frames stop it (`result` then says which), or the error.
Result<std::optional<FileEdit>> v2_part(ByteFile& file, const TagChanges& changes,
                                        const Codec& codec, TagEditResult& result) {
    if (changes.v2 == TagChange::keep) return std::optional<FileEdit>(FileEdit{});
    const Result<TagExtent> tag = editable_id3v2_tag(file, changes.v2 == TagChange::write);
    if (!tag) return tag.error();
    if (changes.v2 == TagChange::remove)
        return std::optional<FileEdit>(FileEdit{tag->length, {}, std::nullopt, {}});
    BuiltFrames built =
        build_id3v2_frames(changes.v2_fields, tag->bytes, changes.v2_options, codec);
    result.unconvertible = std::move(built.unconvertible);
    if (!result.unconvertible.empty() && !changes.v2_options.drop_unconvertible)
        return std::optional<FileEdit>();
    Result<FileEdit> head = id3v2_head(*tag, built.frames);
    if (!head) return head.error();
    return std::optional<FileEdit>(std::move(*head));
}

}  // namespace

TagEditResult edit_tags(ByteFile& file, const std::string& path, const TagChanges& changes,
                        const Codec& codec) {
    if (const Result<Recovery> recovered = recover_file_edit(file, path); !recovered)
        return failed_edit(recovered.error());
    TagEditResult result;
    Result<std::optional<FileEdit>> v2 = v2_part(file, changes, codec, result);
    if (!v2 || !*v2) {  // an error, or frames stopped it (error 0)
        if (!v2) result.error = SystemError{v2.error().number, {}};
        return result;
    }
    FileEdit& edit = **v2;
    const Result<std::uint64_t> length = file.length();
    if (!length) return failed_edit(length.error());
    const std::uint64_t trailer = has_id3v1_tag(file) ? *length - v1_size : *length;
    if (changes.v1 != TagChange::keep && trailer < edit.cut)
        return failed_edit({EINVAL, {}});  // the trailer lies inside what the ID3v2 tag takes
    if (changes.v1 != TagChange::keep) {
        edit.tail_from = trailer;
        if (changes.v1 == TagChange::write) edit.tail = changes.v1_block;
    }
    const Status written = commit_file_edit(file, path, edit);
    result.ok = written.ok();
    if (!written) result.error = SystemError{written.error().number, {}};
    return result;
}

}  // namespace varnel
