// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/id3v2_writer.h"

#include <algorithm>
#include <array>
#include <optional>

#include "id3/id3v2_reader.h"
#include "id3/id3v2_walk.h"
#include "id3/safe_rewrite.h"
#include "id3/tag_bytes.h"
#include "id3/tag_extent.h"
#include "platform/error_text.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

constexpr std::size_t copy_block_size = 4096;

Status read_block(const ByteFile& file, char* buffer, std::size_t size, std::uint64_t offset) {
    const Result<std::size_t> count = file.read_at(buffer, size, offset);
    if (!count) return count.error();
    if (*count != size) return SystemError{EIO, "the file ended early"};
    return {};
}

// The extent of the file's tag, refused (tag_end_unknown) where its end is
// unknown.
Result<TagExtent> known_extent(ByteFile& file) {
    Result<TagExtent> extent = find_tag_extent(file);
    if (extent && extent->end == TagEnd::unknown) return SystemError{tag_end_unknown, {}};
    return extent;
}

// Whether the frames of the tag `bytes` can be told apart (a version 2.4
// tag whose sizes end cleanly neither way cannot).
bool frames_clear(std::string_view bytes) {
    const std::optional<FrameList> list = walk_id3v2_frames(bytes);
    return !list || !list->ambiguous;
}

Codec& code_page_codec() {
    thread_local Codec codec;
    return codec;
}

}  // namespace

std::string build_id3v2_tag(const TagFields& fields) {
    const BuiltFrames built = build_id3v2_frames(fields, {}, {}, code_page_codec());
    return wrap_id3v2_tag(built.frames, new_tag_padding);
}

std::vector<std::string> unconvertible_frames(ByteFile& file) {
    const Result<TagExtent> extent = known_extent(file);
    if (!extent || extent->length == 0) return {};
    return build_id3v2_frames(TagFields{}, extent->bytes, {}, code_page_codec()).unconvertible;
}

TagEditResult write_id3v2_tag(ByteFile& file, const std::string& path, const TagFields& fields,
                              const V2WriteOptions& options, const Codec& codec) {
    if (const Result<Recovery> recovered = recover_file_edit(file, path); !recovered)
        return failed_edit(recovered.error());
    const Result<TagExtent> extent = editable_id3v2_tag(file, true);
    if (!extent) return failed_edit(extent.error());
    BuiltFrames built = build_id3v2_frames(fields, extent->bytes, options, codec);
    TagEditResult result{false, {}, std::move(built.unconvertible)};
    if (!result.unconvertible.empty() && !options.drop_unconvertible) return result;
    const Result<FileEdit> edit = id3v2_head(*extent, built.frames);
    const Status written = edit ? commit_file_edit(file, path, *edit) : Status(edit.error());
    result.ok = written.ok();
    if (!written) result.error = SystemError{written.error().number, {}};
    return result;
}

Result<TagExtent> editable_id3v2_tag(ByteFile& file, bool keep_frames) {
    Result<TagExtent> extent = known_extent(file);
    if (extent && keep_frames && !frames_clear(extent->bytes))
        return SystemError{frame_sizes_unclear, {}};
    return extent;
}

Result<FileEdit> id3v2_head(const TagExtent& extent, std::string_view frames) {
    const std::uint64_t space = extent.length;
    // Fits where the old tag was: written in place, its padding filling the
    // space. A mended tag is written anew: its header's size is wrong.
    const bool fits = extent.end == TagEnd::declared && space >= id3v2_header_size + frames.size();
    FileEdit edit;
    edit.cut = space;
    edit.head = wrap_id3v2_tag(
        frames, fits ? static_cast<std::size_t>(space - id3v2_header_size - frames.size())
                     : new_tag_padding);
    if (edit.head.empty()) return SystemError{EFBIG, "ID3v2 tag"};
    return edit;
}

TagEditResult write_id3v2_frames(ByteFile& file, const std::string& path, std::string_view frames) {
    const Result<TagExtent> extent = known_extent(file);
    if (!extent) return failed_edit(extent.error());
    const Result<FileEdit> edit = id3v2_head(*extent, frames);
    if (!edit) return failed_edit(edit.error());
    const Status written = commit_file_edit(file, path, *edit);
    return written ? TagEditResult{true, {}, {}} : failed_edit(written.error());
}

bool write_id3v2_tag(ByteFile& file, const std::string& path, const TagFields& fields) {
    return write_id3v2_tag(file, path, fields, {}, code_page_codec()).ok;
}

TagEditResult remove_id3v2_tag(ByteFile& file, const std::string& path) {
    if (const Result<Recovery> recovered = recover_file_edit(file, path); !recovered)
        return failed_edit(recovered.error());
    // The cut ends where the tag does: a damaged size never takes audio along.
    const Result<TagExtent> extent = editable_id3v2_tag(file, false);
    if (!extent) return failed_edit(extent.error());
    if (extent->length == 0) return TagEditResult{true, {}, {}};
    if (const Status cut = commit_file_edit(file, path, FileEdit{extent->length, {}, {}, {}}); !cut)
        return failed_edit(cut.error());
    return TagEditResult{true, {}, {}};
}

std::string tag_edit_error_text(int error) {
    if (error == tag_end_unknown)
        return "the ID3v2 tag's size runs past its frames into bytes that are not MPEG audio, "
               "so where the tag ends is unknown; nothing changed";
    if (error == frame_sizes_unclear)
        return "the ID3v2.4 frame sizes end cleanly neither as syncsafe nor as plain numbers, "
               "so the frames cannot be kept; nothing changed";
    return system_error_text(error);
}

std::string tag_edit_error_text(const SystemError& error) {
    if (error.context.empty()) return tag_edit_error_text(error.number);
    return error.context + ": " + tag_edit_error_text(error.number);
}

Status delete_bytes(ByteFile& file, std::uint64_t position, std::uint64_t count) {
    const Result<std::uint64_t> length = file.length();
    if (!length) return length.error();
    if (position >= *length || count == 0) return {};
    count = std::min(count, *length - position);
    char buffer[copy_block_size];
    for (std::uint64_t target = position; target + count < *length;) {
        const auto block = static_cast<std::size_t>(
            std::min<std::uint64_t>(copy_block_size, *length - (target + count)));
        Status moved = read_block(file, buffer, block, target + count);
        if (moved) moved = file.write_at(buffer, block, target);
        if (!moved) return moved;
        target += block;
    }
    return file.truncate(*length - count);
}

Status insert_bytes(ByteFile& file, std::uint64_t position, std::string_view bytes) {
    if (bytes.empty()) return {};
    const Result<std::uint64_t> length = file.length();
    if (!length) return length.error();
    char buffer[copy_block_size];
    for (std::uint64_t end = *length; end > position;) {
        const auto block =
            static_cast<std::size_t>(std::min<std::uint64_t>(copy_block_size, end - position));
        const std::uint64_t start = end - block;
        Status moved = read_block(file, buffer, block, start);
        if (moved) moved = file.write_at(buffer, block, start + bytes.size());
        if (!moved) return moved;
        end = start;
    }
    return file.write_at(bytes.data(), bytes.size(), position);
}

}  // namespace varnel
