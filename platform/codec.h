// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversion between the program's code page and UTF-8.
//
// Every name, field and list cell inside the program is a std::string of
// code-page bytes (GB18030, a superset of GBK). Conversion happens only at
// the edges: file-system names (UTF-8 bytes on Linux, but any bytes are
// possible), Qt strings and the terminal.

#include <optional>
#include <string>
#include <string_view>

namespace varnel {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
[[nodiscard]] bool is_valid_utf8(std::string_view bytes);

// True when every byte is below 0x80.
[[nodiscard]] bool is_ascii(std::string_view bytes);

// One pair of iconv conversions. Not thread-safe: give each thread its own.
class Codec {
public:
    // Throws std::runtime_error when iconv does not know `code_page`.
    explicit Codec(const std::string& code_page = "GB18030");
    ~Codec();
    Codec(const Codec&) = delete;
    Codec& operator=(const Codec&) = delete;

    // UTF-8 -> code page. nullopt when `utf8` is malformed or has a
    // character the code page cannot hold.
    [[nodiscard]] std::optional<std::string> from_utf8(std::string_view utf8) const;

    // Code page -> UTF-8. nullopt when `text` is not valid in the code page.
    [[nodiscard]] std::optional<std::string> to_utf8(std::string_view text) const;

    // The code-page text shown for a file-system name: valid UTF-8 is
    // converted; otherwise the bytes are kept as they are where they form
    // valid code-page text (legacy GBK names), and a byte that does not is
    // shown as '?'. Never fails.
    [[nodiscard]] std::string text_from_fs(std::string_view fs_name) const;

    // The file-system spelling (UTF-8) of a code-page text. nullopt when the
    // text is not valid in the code page.
    [[nodiscard]] std::optional<std::string> fs_from_text(std::string_view text) const;

    // Code page -> UTF-8 for display: invalid bytes become U+FFFD. Never fails.
    [[nodiscard]] std::string to_utf8_lossy(std::string_view text) const;

    // UTF-8 -> code page, never failing: a byte that starts no well-formed
    // sequence is dropped, and so is a character the code page cannot hold.
    [[nodiscard]] std::string from_utf8_lossy(std::string_view utf8) const;

    // UTF-16 -> code page, never failing: `bytes` are code units in the
    // given byte order, without a byte-order mark of their own meaning (a
    // U+FEFF is converted like any character). An odd last byte is ignored
    // and an unpaired surrogate dropped.
    [[nodiscard]] std::string from_utf16_lossy(std::string_view bytes, bool big_endian) const;

private:
    void* to_cp_;    // iconv_t UTF-8 -> code page
    void* from_cp_;  // iconv_t code page -> UTF-8
};

}  // namespace varnel
