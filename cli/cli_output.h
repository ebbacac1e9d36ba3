// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How varnel-cli prints names and records.

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codec.h"

namespace varnel::cli {

// UTF-8 of a code-page text, escaped C-style so that it can neither drive
// the terminal nor break a line of TAB-separated fields: backslash, TAB,
// newline and carriage return as \\ \t \n \r, other bytes below 0x20 and
// 0x7F as three octal digits (\033), the C1 controls U+0080..U+009F as
// \u0080..\u009f, and the bidirectional controls U+200E, U+200F,
// U+202A..U+202E and U+2066..U+2069 as \u200e … \u2069, so that no name
// can make itself or the fields after it read in another order.
std::string escaped(std::string_view text, const Codec& codec);

// One field of a record: a code-page text, and for a file name also the
// bytes the file system holds (or will hold) for it.
struct RecordField {
    RecordField() = default;
    RecordField(std::string code_page_text) : text(std::move(code_page_text)) {}
    RecordField(std::string_view code_page_text) : text(code_page_text) {}
    RecordField(const char* code_page_text) : text(code_page_text) {}
    // A file name: its text and its file-system bytes.
    [[nodiscard]] static RecordField name(std::string text, std::string fs_bytes);

    std::string text;
    std::optional<std::string> fs;
};

// Writes one record: the fields' texts escaped (their UTF-8), separated by
// TAB and ended by a newline; or, with `null_data`, each field unescaped
// and ended by a NUL byte: a name's file-system bytes exactly, a text's
// UTF-8. Nothing is flushed.
void print_record(std::ostream& out, const std::vector<RecordField>& fields, const Codec& codec,
                  bool null_data);

// True when `out` is the standard output or error stream and that goes to
// a terminal.
[[nodiscard]] bool is_terminal_stream(const std::ostream& out);

// How often a batch that renames or edits files flushes its records when
// they do not go to a terminal.
inline constexpr std::chrono::milliseconds progress_flush_every{200};

// Prints records (print_record) and decides when they leave the stream's
// buffer: to a terminal each record at once; elsewhere when `flush_every`
// has passed since the last flush (so a long rename still shows its
// progress through a pipe), and always when the printer goes away. Without
// `flush_every`, elsewhere only at the end: one write per buffer full, not
// one per record.
class RecordPrinter {
public:
    RecordPrinter(std::ostream& out, const Codec& codec, bool null_data, bool terminal,
                  std::optional<std::chrono::milliseconds> flush_every = std::nullopt);
    ~RecordPrinter();
    RecordPrinter(const RecordPrinter&) = delete;
    RecordPrinter& operator=(const RecordPrinter&) = delete;

    void print(const std::vector<RecordField>& fields);

private:
    std::ostream& out_;
    const Codec& codec_;
    bool null_data_;
    bool terminal_;
    std::optional<std::chrono::milliseconds> flush_every_;
    std::chrono::steady_clock::time_point last_flush_;
};

// Tells on `err` that the last tag edit of `path` did not finish and that
// the next edit of the file finishes it.
void report_unfinished_edit(const std::string& path, std::ostream& err);

// A program text (code page) for the terminal, "\r\n" made a newline.
std::string for_terminal(std::string_view text, const Codec& codec);

// The codec of the program's messages.
[[nodiscard]] const Codec& message_codec();

// Writes "varnel-cli: " and the message (code page) as one line to `err`.
void tell(std::ostream& err, std::string_view code_page_message);
// The same about the file at `path` (file-system bytes): "varnel-cli:
// PATH: message".
void tell_path(std::ostream& err, const std::string& path, std::string_view code_page_message);

}  // namespace varnel::cli
