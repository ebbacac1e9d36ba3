// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language of the texts meant for people, and those texts themselves.
//
// Every text a person reads is written once in the source, readable: the
// Chinese spelling in UTF-8 and its English twin. `say` gives the code-page
// bytes (GB18030) of the one the process speaks, converted on first use and
// kept for the life of the process. Data texts that never change with the
// language (config.ini keys, journal words, the command line's status
// words) go through `code_page` instead.

#include <string>
#include <string_view>

namespace varnel {

enum class Language { chinese, english };

// The language of a locale's environment: the first non-empty of LC_ALL,
// LC_MESSAGES and LANG (null reads as empty) decides; one that starts with
// "zh" is Chinese, anything else (also "C", "POSIX" or nothing at all) is
// English.
[[nodiscard]] Language language_from_locale(const char* lc_all, const char* lc_messages,
                                            const char* lang);

// language_from_locale of this process's environment.
[[nodiscard]] Language language_from_environment();

// The language `say` speaks: Chinese until set. Set it once at start-up,
// before other threads use `say`.
void set_text_language(Language language);
[[nodiscard]] Language text_language();

// The code-page bytes of `chinese` or `english` (both UTF-8, normally
// string literals), by text_language(). The reference stays valid for the
// life of the process. Thread-safe.
[[nodiscard]] const std::string& say(std::string_view chinese, std::string_view english);

// The code-page bytes of the UTF-8 text `utf8`, whatever the language.
// The reference stays valid for the life of the process. Thread-safe.
[[nodiscard]] const std::string& code_page(std::string_view utf8);

}  // namespace varnel
