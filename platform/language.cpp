// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/language.h"

#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>

#include "platform/codec.h"

namespace varnel {
namespace {

std::atomic<Language> spoken{Language::chinese};

bool is_chinese_locale(std::string_view locale) {
    return locale.starts_with("zh");
}

}  // namespace

Language language_from_locale(const char* lc_all, const char* lc_messages, const char* lang) {
    for (const char* value : {lc_all, lc_messages, lang}) {
        if (value != nullptr && *value != '\0')
            return is_chinese_locale(value) ? Language::chinese : Language::english;
    }
    return Language::english;
}

Language language_from_environment() {
    return language_from_locale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                std::getenv("LANG"));
}

void set_text_language(Language language) {
    spoken.store(language, std::memory_order_relaxed);
}

Language text_language() {
    return spoken.load(std::memory_order_relaxed);
}

const std::string& code_page(std::string_view utf8) {
    // Keyed by content, so a text spelled in two places is converted once;
    // std::map nodes never move, so the references handed out stay valid.
    static std::mutex guard;
    static std::map<std::string, std::string, std::less<>> converted;
    static const Codec codec;
    const std::lock_guard lock(guard);
    if (const auto found = converted.find(utf8); found != converted.end()) return found->second;
    auto bytes = codec.from_utf8(utf8);
    // Every source text is well-formed UTF-8 and GB18030 holds all of
    // Unicode, so this only fails for a text broken in the source.
    if (!bytes) throw std::logic_error("text is not well-formed UTF-8: " + std::string(utf8));
    return converted.emplace(std::string(utf8), std::move(*bytes)).first->second;
}

const std::string& say(std::string_view chinese, std::string_view english) {
    return code_page(text_language() == Language::chinese ? chinese : english);
}

}  // namespace varnel
