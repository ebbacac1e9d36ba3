// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace varnel {
namespace {

constexpr std::string_view replacement_utf8 = "\xEF\xBF\xBD";  // U+FFFD

iconv_t as_iconv(void* handle) {
    return static_cast<iconv_t>(handle);
}

// iconv_open reports failure with (iconv_t)-1.
bool open_failed(void* handle) {
    return handle == reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
}

bool is_continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at the start of `rest`, 0 when
// there is none. The second-byte ranges exclude overlong forms, surrogates
// and code points above U+10FFFF.
std::size_t utf8_sequence_length(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest[0]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (rest.size() < length) return 0;
    const auto second = static_cast<unsigned char>(rest[1]);
    if (second < low || second > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!is_continuation(static_cast<unsigned char>(rest[i]))) return 0;
    return length;
}

// How far a conversion got: `consumed` input bytes were converted; when
// `complete` is false, the byte at `consumed` starts no valid character.
struct Progress {
    std::size_t consumed;
    bool complete;
};

// Converts as much of `input` as possible and appends the result to `out`.
Progress convert_append(iconv_t handle, std::string_view input, std::string& out) {
    // A previous conversion may have stopped mid-character; start clean.
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    char* source = const_cast<char*>(input.data());  // iconv's signature, never written
    std::size_t source_left = input.size();
    std::size_t used = out.size();
    out.resize(used + input.size() + 16);
    while (source_left > 0) {
        char* target = out.data() + used;
        std::size_t room = out.size() - used;
        const std::size_t result = iconv(handle, &source, &source_left, &target, &room);
        used = out.size() - room;
        if (result != static_cast<std::size_t>(-1)) break;
        if (errno != E2BIG) {
            out.resize(used);
            return {input.size() - source_left, false};
        }
        out.resize(out.size() * 2);
    }
    out.resize(used);
    return {input.size(), true};
}

std::optional<std::string> convert(void* handle, std::string_view input) {
    std::string out;
    if (!convert_append(as_iconv(handle), input, out).complete) return std::nullopt;
    return out;
}

// `utf8` without the bytes that start no well-formed sequence.
std::string valid_utf8_only(std::string_view utf8) {
    std::string clean;
    clean.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            clean += utf8[i++];
            continue;
        }
        const std::size_t length = utf8_sequence_length(utf8.substr(i));
        if (length == 0) {
            ++i;
            continue;
        }
        clean.append(utf8.substr(i, length));
        i += length;
    }
    return clean;
}

void append_utf8(std::string& out, char32_t code) {
    const auto byte = [&out](char32_t value) { out += static_cast<char>(value); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | (code >> 6));
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | (code >> 12));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | (code >> 18));
        byte(0x80 | ((code >> 12) & 0x3F));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

bool is_high_surrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool is_low_surrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-16 code units -> UTF-8. Converted by hand rather than by iconv, which
// gives up at the first unpaired surrogate instead of skipping it.
std::string utf8_from_utf16(std::string_view bytes, bool big_endian) {
    const std::size_t units = bytes.size() / 2;
    const auto unit = [bytes, big_endian](std::size_t index) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[2 * index]);
        const auto second = static_cast<unsigned char>(bytes[2 * index + 1]);
        return big_endian ? (char32_t{first} << 8) | second : (char32_t{second} << 8) | first;
    };
    std::string out;
    out.reserve(units * 3);
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t code = unit(i);
        if (is_high_surrogate(code) && i + 1 < units && is_low_surrogate(unit(i + 1))) {
            append_utf8(out, 0x10000 + ((code - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else if (!is_high_surrogate(code) && !is_low_surrogate(code)) {
            append_utf8(out, code);
        }
    }
    return out;
}

}  // namespace

bool is_ascii(std::string_view bytes) {
    std::size_t i = 0;
    // Eight bytes per step: names are mostly ASCII and there are many of them.
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if (word & 0x8080808080808080ULL) return false;
    }
    for (; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) return false;
    return true;
}

bool is_valid_utf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = utf8_sequence_length(bytes.substr(i));
        if (length == 0) return false;
        i += length;
    }
    return true;
}

Codec::Codec(const std::string& code_page) {
    to_cp_ = iconv_open(code_page.c_str(), "UTF-8");
    if (open_failed(to_cp_)) throw std::runtime_error("iconv does not know code page " + code_page);
    from_cp_ = iconv_open("UTF-8", code_page.c_str());
    if (open_failed(from_cp_)) {
        iconv_close(as_iconv(to_cp_));
        throw std::runtime_error("iconv does not know code page " + code_page);
    }
}

Codec::~Codec() {
    iconv_close(as_iconv(to_cp_));
    iconv_close(as_iconv(from_cp_));
}

std::optional<std::string> Codec::from_utf8(std::string_view utf8) const {
    // ASCII is spelled the same in both encodings.
    if (is_ascii(utf8)) return std::string(utf8);
    // iconv's UTF-8 decoder is more lenient than we want (surrogates).
    if (!is_valid_utf8(utf8)) return std::nullopt;
    return convert(to_cp_, utf8);
}

std::optional<std::string> Codec::to_utf8(std::string_view text) const {
    if (is_ascii(text)) return std::string(text);
    return convert(from_cp_, text);
}

std::string Codec::text_from_fs(std::string_view fs_name) const {
    if (is_ascii(fs_name)) return std::string(fs_name);
    if (is_valid_utf8(fs_name)) {
        if (auto text = convert(to_cp_, fs_name)) return *text;
    }
    // Not UTF-8: keep every run that decodes as code-page text byte for byte,
    // so that the name can still be matched against the disk.
    std::string result;
    std::string scratch;
    std::string_view rest = fs_name;
    while (true) {
        scratch.clear();
        const Progress progress = convert_append(as_iconv(from_cp_), rest, scratch);
        result.append(rest.substr(0, progress.consumed));
        if (progress.complete) return result;
        result += '?';
        rest.remove_prefix(progress.consumed + 1);
    }
}

std::optional<std::string> Codec::fs_from_text(std::string_view text) const {
    return to_utf8(text);
}

std::string Codec::to_utf8_lossy(std::string_view text) const {
    if (is_ascii(text)) return std::string(text);
    std::string result;
    std::string_view rest = text;
    while (true) {
        const Progress progress = convert_append(as_iconv(from_cp_), rest, result);
        if (progress.complete) return result;
        result += replacement_utf8;
        rest.remove_prefix(progress.consumed + 1);
    }
}

std::string Codec::from_utf8_lossy(std::string_view utf8) const {
    if (is_ascii(utf8)) return std::string(utf8);
    const std::string clean = valid_utf8_only(utf8);
    std::string result;
    std::string_view rest = clean;
    while (true) {
        const Progress progress = convert_append(as_iconv(to_cp_), rest, result);
        if (progress.complete) return result;
        // Clean UTF-8 stops only at a character the code page lacks: skip it.
        rest.remove_prefix(progress.consumed);
        rest.remove_prefix(std::max<std::size_t>(1, utf8_sequence_length(rest)));
    }
}

std::string Codec::from_utf16_lossy(std::string_view bytes, bool big_endian) const {
    const std::size_t units = bytes.size() / 2;
    std::string narrow;
    narrow.reserve(units);
    // Most tag texts are ASCII: no conversion needed then.
    for (std::size_t i = 0; i < units; ++i) {
        const char high = bytes[2 * i + (big_endian ? 0 : 1)];
        const char low = bytes[2 * i + (big_endian ? 1 : 0)];
        if (high != 0 || static_cast<unsigned char>(low) >= 0x80)
            return from_utf8_lossy(utf8_from_utf16(bytes, big_endian));
        narrow += low;
    }
    return narrow;
}

}  // namespace varnel
