// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 标签转为Unicode: the ID3v2 texts that legacy taggers stored as code-page
// bytes under encoding 0 rewritten as UTF-16 with a byte-order mark, so
// that every other reader shows them right; optionally an ID3v2 tag built
// from the fields of a file that has only an ID3v1 tag.

#include <cstdint>
#include <string>
#include <vector>

#include "id3/id3v2_writer.h"
#include "platform/byte_file.h"
#include "platform/codec.h"
#include "platform/result.h"

namespace varnel {

// One text the conversion rewrites. Texts are code page; a frame with
// several strings (a description and a text) shows them joined by " / ".
struct TagTextChange {
    std::string field;   // the frame id: "TIT2", "COMM", "TXXX", ...
    std::string before;  // what the tag holds now (empty: no ID3v2 tag)
    std::string after;   // what the new frame holds, read back
};

enum class TagFixAction {
    none,         // nothing to convert (no code-page text, or no tag)
    convert,      // frames rewritten in UTF-16
    add_from_v1,  // an ID3v2 tag made from the ID3v1 tag
};

struct TagFixPlan {
    TagFixAction action = TagFixAction::none;
    std::vector<TagTextChange> changes;
    // The new tag's frame area (no header, no padding) when there is an action.
    std::string frames;
    // Frames of the old tag without a safe version 2.3 form: the
    // conversion would drop them, so it is not done.
    std::vector<std::string> unconvertible;
};

// What the file's tag becomes. Every frame of the ID3v2 tag (in version 2.3
// form) whose encoding byte is 0 and whose strings hold bytes of 0x80 and
// above that are valid code-page text — text frames (TXXX included), COMM,
// USLT and the description of WXXX — gets encoding 1, its strings in UTF-16
// with a byte-order mark and their terminators kept; its flags, language
// and URL stay. Every other frame is kept byte for byte, in its place.
// With `add_v2_from_v1`, a file without an ID3v2 tag whose ID3v1 tag holds
// a text gets the twelve frames of its fields in UTF-16 (the genre number
// as its name). The error of a failed read, or tag_end_unknown or
// frame_sizes_unclear where the tag cannot be kept.
[[nodiscard]] Result<TagFixPlan> plan_tag_fix(ByteFile& file, const Codec& codec,
                                              bool add_v2_from_v1);

// Told of each write of fix_tag, so that an undo journal can keep the old
// tag before it is gone.
class TagWriteObserver {
public:
    virtual ~TagWriteObserver() = default;
    // `file`, open at `path`, is about to get its new tag; its first
    // `old_tag` bytes are the old ID3v2 tag with its padding (0: none). A
    // failure stops the write, and is the file's error.
    [[nodiscard]] virtual Status before_write(const std::string& path, ByteFile& file,
                                              std::uint64_t old_tag) = 0;
    // `file` at `path` holds its new tag now.
    virtual void after_write(const std::string& path, ByteFile& file) = 0;
};

struct TagFixOutcome {
    TagFixPlan plan;
    // ok when written or nothing was to be done; not ok with error number 0
    // when unconvertible frames stopped it, else with the error (an undo
    // journal's failure with its context).
    TagEditResult result;
};

// The conversion of the MP3 file at `path` (file-system bytes; symbolic
// links followed), planned without writing (`write` false: the file is
// opened for reading only) or written through fix_tag, `observer` (when
// given) told of the write. `reason` tells why
// it failed (code page): a name that does not end in .mp3, frames that
// cannot be kept, or the system's error text.
struct TagFileFix {
    TagFixOutcome outcome;
    std::string reason;
};
[[nodiscard]] TagFileFix fix_tag_file(const std::string& path, const Codec& codec,
                                      bool add_v2_from_v1, bool write,
                                      TagWriteObserver* observer = nullptr);

// The status of one file (code page): "将转换" / "已转换",
// "将添加ID3v2标签" / "已添加ID3v2标签", "无需转换", or "转换失败 (reason)".
[[nodiscard]] std::string tag_fix_status(const TagFileFix& fix, bool written);

// Finishes an interrupted edit of the file, plans its conversion and
// writes it through the crash-safe writer (in place when it fits),
// `observer` (when given) told before and after the write. `file` is the
// file at `path`, open for reading and writing.
[[nodiscard]] TagFixOutcome fix_tag(ByteFile& file, const std::string& path, const Codec& codec,
                                    bool add_v2_from_v1, TagWriteObserver* observer = nullptr);

}  // namespace varnel
