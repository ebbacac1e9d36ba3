// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_output.h"

#include <iostream>

#include "platform/language.h"
#include "platform/terminal.h"

namespace varnel::cli {

namespace {

constexpr char hex_digits[] = "0123456789abcdef";

// The code point of the bidirectional control (U+200E, U+200F,
// U+202A..U+202E, U+2066..U+2069) whose UTF-8 starts at utf8[i], or 0.
unsigned bidi_control_at(const std::string& utf8, std::size_t i) {
    if (i + 2 >= utf8.size() || static_cast<unsigned char>(utf8[i]) != 0xE2) return 0;
    const auto second = static_cast<unsigned char>(utf8[i + 1]);
    const auto third = static_cast<unsigned char>(utf8[i + 2]);
    if (second < 0x80 || second > 0x81 || third < 0x80 || third > 0xBF) return 0;
    const unsigned code = 0x2000U | ((second & 0x3FU) << 6) | (third & 0x3FU);
    const bool bidi = code == 0x200E || code == 0x200F || (code >= 0x202A && code <= 0x202E) ||
                      (code >= 0x2066 && code <= 0x2069);
    return bidi ? code : 0;
}

void append_u_escape(std::string& out, unsigned code) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += hex_digits[(code >> shift) & 0xF];
}

}  // namespace

std::string escaped(std::string_view text, const Codec& codec) {
    const std::string utf8 = codec.to_utf8_lossy(text);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b == '\\') {
            out += "\\\\";
        } else if (b == '\t') {
            out += "\\t";
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == '\r') {
            out += "\\r";
        } else if (b < 0x20 || b == 0x7F) {
            out += '\\';
            out += static_cast<char>('0' + (b >> 6));
            out += static_cast<char>('0' + ((b >> 3) & 7));
            out += static_cast<char>('0' + (b & 7));
        } else if (b == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
            append_u_escape(out, static_cast<unsigned char>(utf8[++i]));
        } else if (const unsigned bidi = bidi_control_at(utf8, i)) {
            append_u_escape(out, bidi);
            i += 2;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

RecordField RecordField::name(std::string text, std::string fs_bytes) {
    RecordField field(std::move(text));
    field.fs = std::move(fs_bytes);
    return field;
}

void print_record(std::ostream& out, const std::vector<RecordField>& fields, const Codec& codec,
                  bool null_data) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (null_data) {
            line += fields[i].fs ? *fields[i].fs : codec.to_utf8_lossy(fields[i].text);
            line += '\0';
            continue;
        }
        if (i > 0) line += '\t';
        line += escaped(fields[i].text, codec);
    }
    if (!null_data) line += '\n';
    out << line;
}

bool is_terminal_stream(const std::ostream& out) {
    if (&out == &std::cout) return is_terminal(1);
    if (&out == &std::cerr) return is_terminal(2);
    return false;
}

RecordPrinter::RecordPrinter(std::ostream& out, const Codec& codec, bool null_data, bool terminal,
                             std::optional<std::chrono::milliseconds> flush_every)
    : out_(out),
      codec_(codec),
      null_data_(null_data),
      terminal_(terminal),
      flush_every_(flush_every),
      last_flush_(std::chrono::steady_clock::now()) {}

RecordPrinter::~RecordPrinter() {
    out_.flush();
}

void RecordPrinter::print(const std::vector<RecordField>& fields) {
    print_record(out_, fields, codec_, null_data_);
    if (terminal_) {
        out_.flush();
        return;
    }
    if (!flush_every_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_flush_ < *flush_every_) return;
    out_.flush();
    last_flush_ = now;
}

std::string for_terminal(std::string_view text, const Codec& codec) {
    std::string utf8 = codec.to_utf8_lossy(text);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        out += utf8[i];
    }
    return out;
}

const Codec& message_codec() {
    static const Codec codec;
    return codec;
}

void tell(std::ostream& err, std::string_view code_page_message) {
    err << "varnel-cli: " << for_terminal(code_page_message, message_codec()) << '\n';
}

void tell_path(std::ostream& err, const std::string& path, std::string_view code_page_message) {
    err << "varnel-cli: " << path << ": " << for_terminal(code_page_message, message_codec())
        << '\n';
}

void report_unfinished_edit(const std::string& path, std::ostream& err) {
    tell_path(err, path,
              say("上一次的标签修改没有完成；下一次修改时会先完成它",
                  "the last tag edit did not finish; the next edit finishes it"));
}

}  // namespace varnel::cli
