// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/tag_fix.h"

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string_view>

#include "id3/genres.h"
#include "id3/id3v1.h"
#include "id3/id3v2_builder.h"
#include "id3/id3v2_frames.h"
#include "id3/id3v2_reader.h"
#include "id3/id3v2_walk.h"
#include "id3/safe_rewrite.h"
#include "id3/tag_extent.h"
#include "id3/tag_fix_texts.h"
#include "platform/error_text.h"
#include "platform/tag_file_io.h"

namespace varnel {
namespace {

constexpr std::size_t all_strings = static_cast<std::size_t>(-1);

// Where the strings of a frame with encoding byte 0 start (after the
// encoding byte) and how many there are; nullopt for other frames.
struct Strings {
    std::size_t skip;
    std::size_t count;
};

std::optional<Strings> strings_of(std::string_view id) {
    if (id == "COMM" || id == "USLT") return Strings{4, all_strings};  // language first
    if (id == "WXXX") return Strings{1, 1};                            // the URL stays
    if (id[0] == 'T') return Strings{1, all_strings};
    return std::nullopt;
}

bool has_high_bytes(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

// The frame's data with its code-page strings in UTF-16; nullopt when the
// frame needs no conversion (or one of its strings is not code-page text).
// `before` and `after` get the strings joined by " / ".
std::optional<std::string> converted(const TagFrame& frame, const Codec& codec, std::string& before,
                                     std::string& after) {
    const std::optional<Strings> layout = strings_of(frame.id);
    // Compressed, encrypted or grouped frames are kept as they are.
    if (!layout || frame.format != 0 || frame.data.size() < layout->skip || frame.data[0] != 0)
        return std::nullopt;
    const std::string_view data = frame.data;
    std::string out = "\x01";
    out += data.substr(1, layout->skip - 1);
    std::size_t at = layout->skip;
    bool high = false;
    for (std::size_t n = 0; n < layout->count && at < data.size(); ++n) {
        std::size_t end = data.find('\0', at);
        const bool terminated = end != std::string_view::npos;
        if (!terminated) end = data.size();
        const std::string_view text = data.substr(at, end - at);
        const std::optional<std::string> utf8 = codec.to_utf8(text);
        if (!utf8) return std::nullopt;
        high = high || has_high_bytes(text);
        const std::string utf16 = utf16_with_mark(*utf8);
        if (n > 0) {
            before += " / ";
            after += " / ";
        }
        before += text;
        after += codec.from_utf16_lossy(std::string_view(utf16).substr(2), false);
        out += utf16;
        if (terminated) out += std::string(2, '\0');
        at = terminated ? end + 1 : end;
    }
    if (!high) return std::nullopt;
    out += data.substr(at);
    return out;
}

TagFixPlan convert_tag(std::string_view tag, const Codec& codec) {
    TagFixPlan plan;
    std::vector<TagFrame> frames = read_frames(tag);
    for (TagFrame& frame : frames) {
        if (!frame.convertible) {
            plan.unconvertible.push_back(frame.id);
            continue;
        }
        TagTextChange change{frame.id, {}, {}};
        if (std::optional<std::string> data =
                converted(frame, codec, change.before, change.after)) {
            frame.data = std::move(*data);
            plan.changes.push_back(std::move(change));
        }
    }
    if (plan.changes.empty()) return TagFixPlan{};
    plan.action = TagFixAction::convert;
    for (const TagFrame& frame : frames)
        if (frame.convertible) plan.frames += frame_bytes(frame);
    return plan;
}

// The ID3v1 fields with their ID3v2 frame ids, in TagFields order.
struct V1Field {
    std::string TagFields::*member;
    const char* id;
};
constexpr V1Field v1_fields[] = {{&TagFields::title, "TIT2"},  {&TagFields::artist, "TPE1"},
                                 {&TagFields::album, "TALB"},  {&TagFields::track, "TRCK"},
                                 {&TagFields::year, "TYER"},   {&TagFields::genre, "TCON"},
                                 {&TagFields::comment, "COMM"}};

TagFixPlan tag_from_v1(ByteFile& file, const Codec& codec) {
    TagFields fields;
    if (!read_id3v1_tag(file, fields)) return {};
    const int genre = fields.genre.empty() ? 255 : std::stoi(fields.genre);
    fields.genre = genre < genre_count ? std::string(genre_name(genre)) : std::string();
    TagFixPlan plan;
    for (const V1Field& field : v1_fields)
        if (!(fields.*field.member).empty())
            plan.changes.push_back({field.id, {}, fields.*field.member});
    if (plan.changes.empty()) return {};
    plan.action = TagFixAction::add_from_v1;
    plan.frames = build_id3v2_frames(fields, {}, {V2TextEncoding::unicode, false}, codec).frames;
    return plan;
}

}  // namespace

Result<TagFixPlan> plan_tag_fix(ByteFile& file, const Codec& codec, bool add_v2_from_v1) {
    const Result<TagExtent> extent = find_tag_extent(file);
    if (!extent) return extent.error();
    if (extent->end == TagEnd::none)
        return add_v2_from_v1 ? tag_from_v1(file, codec) : TagFixPlan{};
    if (extent->end == TagEnd::unknown) return SystemError{tag_end_unknown, {}};
    if (const std::optional<FrameList> list = walk_id3v2_frames(extent->bytes);
        list && list->ambiguous)
        return SystemError{frame_sizes_unclear, {}};
    return convert_tag(extent->bytes, codec);
}

namespace {

// Writes the planned frames, the observer told before and after.
TagEditResult write_planned(ByteFile& file, const std::string& path, const TagFixPlan& plan,
                            TagWriteObserver* observer) {
    if (observer != nullptr) {
        const std::uint64_t old_tag = id3v2_tag_length(file).value_or(0);
        if (const Status recorded = observer->before_write(path, file, old_tag); !recorded)
            return {false, recorded.error(), {}};
    }
    const TagEditResult written = write_id3v2_frames(file, path, plan.frames);
    if (written.ok && observer != nullptr) observer->after_write(path, file);
    return written;
}

}  // namespace

TagFixOutcome fix_tag(ByteFile& file, const std::string& path, const Codec& codec,
                      bool add_v2_from_v1, TagWriteObserver* observer) {
    TagFixOutcome outcome;
    if (const Result<Recovery> recovered = recover_file_edit(file, path); !recovered) {
        outcome.result.error = SystemError{recovered.error().number, {}};
        return outcome;
    }
    Result<TagFixPlan> plan = plan_tag_fix(file, codec, add_v2_from_v1);
    if (!plan) {
        outcome.result.error = SystemError{plan.error().number, {}};
        return outcome;
    }
    outcome.plan = std::move(*plan);
    outcome.result.unconvertible = outcome.plan.unconvertible;
    if (outcome.plan.action == TagFixAction::none) {
        outcome.result.ok = true;
        return outcome;
    }
    if (!outcome.plan.unconvertible.empty()) return outcome;
    const TagEditResult written = write_planned(file, path, outcome.plan, observer);
    outcome.result.ok = written.ok;
    outcome.result.error = written.error;
    return outcome;
}

TagFileFix fix_tag_file(const std::string& path, const Codec& codec, bool add_v2_from_v1,
                        bool write, TagWriteObserver* observer) {
    TagFileFix fix;
    if (const Status named = leads_to_mp3_name(path); !named) {
        const int error = named.error().number;
        fix.reason = error == EINVAL ? std::string(texts::not_mp3()) : tag_edit_error_text(error);
        return fix;
    }
    Result<ByteFile> file = open_regular_file(path, write);
    if (!file) {
        fix.reason = system_error_text(file.error().number);
        return fix;
    }
    if (write) {
        fix.outcome = fix_tag(*file, path, codec, add_v2_from_v1, observer);
    } else if (Result<TagFixPlan> plan = plan_tag_fix(*file, codec, add_v2_from_v1)) {
        fix.outcome.plan = std::move(*plan);
        fix.outcome.result.ok =
            fix.outcome.plan.unconvertible.empty() || fix.outcome.plan.action == TagFixAction::none;
        fix.outcome.result.unconvertible = fix.outcome.plan.unconvertible;
    } else {
        fix.outcome.result.error = SystemError{plan.error().number, {}};
    }
    if (fix.outcome.result.ok) return fix;
    if (fix.outcome.result.error.number != 0) {
        fix.reason = tag_edit_error_text(fix.outcome.result.error);
        return fix;
    }
    fix.reason = texts::frames_kept_back();
    for (const std::string& id : fix.outcome.result.unconvertible) fix.reason += ' ' + id;
    return fix;
}

std::string tag_fix_status(const TagFileFix& fix, bool written) {
    if (!fix.outcome.result.ok || !fix.reason.empty())
        return std::string(texts::fix_failed()) + " (" + fix.reason + ")";
    switch (fix.outcome.plan.action) {
        case TagFixAction::convert:
            return std::string(written ? texts::converted() : texts::will_convert());
        case TagFixAction::add_from_v1:
            return std::string(written ? texts::added_v2() : texts::will_add_v2());
        case TagFixAction::none:
            break;
    }
    return std::string(texts::nothing_to_convert());
}

}  // namespace varnel
