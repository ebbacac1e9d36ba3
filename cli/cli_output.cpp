// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_output.h"

namespace varnel::cli {

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
            static constexpr char hex[] = "0123456789abcdef";
            const auto c = static_cast<unsigned char>(utf8[++i]);
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else {
            out += utf8[i];
        }
    }
    return out;
}

void print_record(std::ostream& out, const std::vector<std::string>& code_page_fields,
                  const Codec& codec, bool null_data) {
    std::string line;
    for (std::size_t i = 0; i < code_page_fields.size(); ++i) {
        if (null_data) {
            line += codec.to_utf8_lossy(code_page_fields[i]);
            line += '\0';
            continue;
        }
        if (i > 0) line += '\t';
        line += escaped(code_page_fields[i], codec);
    }
    if (!null_data) line += '\n';
    out << line;
    out.flush();
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

}  // namespace varnel::cli
