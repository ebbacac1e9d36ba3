// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/regex_replace.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <string>
#include <utility>

namespace varnel {

namespace {
// Steps one match may take; far beyond what any file name needs.
constexpr std::uint32_t match_limit = 1'000'000;
constexpr std::uint32_t depth_limit = 10'000;
}  // namespace

struct RegexReplacer::Code {
    pcre2_code* code = nullptr;
    pcre2_match_context* context = nullptr;
    ~Code() {
        pcre2_match_context_free(context);
        pcre2_code_free(code);
    }
};

RegexReplacer::RegexReplacer(std::string_view pattern, bool case_sensitive) {
    std::uint32_t options = PCRE2_UTF | PCRE2_UCP;
    if (!case_sensitive) options |= PCRE2_CASELESS;
    int error_code = 0;
    PCRE2_SIZE error_offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                     options, &error_code, &error_offset, nullptr);
    if (!code) {
        PCRE2_UCHAR message[256];
        pcre2_get_error_message(error_code, message, sizeof message);
        error_ = reinterpret_cast<const char*>(message);
        error_ += " (" + std::to_string(error_offset + 1) + ")";
        return;
    }
    code_ = new Code;
    code_->code = code;
    code_->context = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(code_->context, match_limit);
    pcre2_set_depth_limit(code_->context, depth_limit);
}

RegexReplacer::~RegexReplacer() {
    delete code_;
}

RegexReplacer::RegexReplacer(RegexReplacer&& other) noexcept
    : code_(std::exchange(other.code_, nullptr)), error_(std::move(other.error_)) {}

RegexReplacer& RegexReplacer::operator=(RegexReplacer&& other) noexcept {
    std::swap(code_, other.code_);
    std::swap(error_, other.error_);
    return *this;
}

namespace {

std::string pcre2_message(int code) {
    PCRE2_UCHAR message[256];
    pcre2_get_error_message(code, message, sizeof message);
    return reinterpret_cast<const char*>(message);
}

bool is_word_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// The number of the group `reference` (digits or a name) stands for, or a
// negative value when the pattern has no such group.
int group_number(const pcre2_code* code, std::string_view reference) {
    if (reference.empty()) return -1;
    if (is_digit(reference.front())) {
        std::uint32_t count = 0;
        pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &count);
        if (reference.size() > 9) return -1;
        const unsigned long number = std::stoul(std::string(reference));
        return number <= count ? static_cast<int>(number) : -1;
    }
    const std::string name(reference);
    return pcre2_substring_number_from_name(code, reinterpret_cast<PCRE2_SPTR>(name.c_str()));
}

}  // namespace

std::string RegexReplacer::replacement_error(std::string_view replacement) const {
    if (!code_) return {};
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        if (replacement[i] != '$') continue;
        const std::size_t start = i;
        const auto piece = [&](std::size_t end) {
            return ": " + std::string(replacement.substr(start, end - start));
        };
        if (++i == replacement.size()) return pcre2_message(PCRE2_ERROR_BADREPESCAPE) + piece(i);
        if (replacement[i] == '$') continue;
        // $*MARK and ${*MARK}: the name of the last (*MARK) passed.
        if (replacement.substr(i).starts_with("*MARK")) {
            i += 4;
            continue;
        }
        if (replacement.substr(i).starts_with("{*MARK}")) {
            i += 6;
            continue;
        }
        std::string_view reference;
        if (replacement[i] == '{') {
            const std::size_t close = replacement.find('}', i);
            std::size_t end = i + 1;
            while (end < replacement.size() && is_word_char(replacement[end])) ++end;
            if (close == std::string_view::npos || close != end)
                return pcre2_message(PCRE2_ERROR_REPMISSINGBRACE) +
                       piece(std::min(end + 1, replacement.size()));
            reference = replacement.substr(i + 1, close - i - 1);
            i = close;
        } else if (is_word_char(replacement[i])) {
            // Digits end a number reference; a name runs over word characters.
            const bool number = is_digit(replacement[i]);
            std::size_t end = i;
            while (end < replacement.size() &&
                   (number ? is_digit(replacement[end]) : is_word_char(replacement[end])))
                ++end;
            reference = replacement.substr(i, end - i);
            i = end - 1;
        } else {
            return pcre2_message(PCRE2_ERROR_BADREPESCAPE) + piece(i + 1);
        }
        if (group_number(code_->code, reference) < 0)
            return pcre2_message(PCRE2_ERROR_NOSUBSTRING) + piece(i + 1);
    }
    return {};
}

RegexReplacer::Result RegexReplacer::replace_all(std::string_view subject,
                                                 std::string_view replacement,
                                                 std::size_t max_bytes) const {
    if (!code_) return {};
    // Room for max_bytes and the terminating zero PCRE2 writes; without
    // PCRE2_SUBSTITUTE_OVERFLOW_LENGTH it stops at the first byte too many.
    std::string out(max_bytes + 1, '\0');
    PCRE2_SIZE length = out.size();
    const int rc =
        pcre2_substitute(code_->code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(),
                         0, PCRE2_SUBSTITUTE_GLOBAL, nullptr, code_->context,
                         reinterpret_cast<PCRE2_SPTR>(replacement.data()), replacement.size(),
                         reinterpret_cast<PCRE2_UCHAR*>(out.data()), &length);
    if (rc == PCRE2_ERROR_NOMEMORY) return {Outcome::too_long, {}};
    if (rc < 0) return {};
    out.resize(length);
    return {Outcome::replaced, std::move(out)};
}

}  // namespace varnel
