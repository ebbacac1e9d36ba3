// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/regex_replace.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

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
    pcre2_code* code =
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options,
                      &error_code, &error_offset, nullptr);
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

std::optional<std::string> RegexReplacer::replace_all(std::string_view subject,
                                                      std::string_view replacement) const {
    if (!code_) return std::nullopt;
    const std::uint32_t options = PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_OVERFLOW_LENGTH;
    std::string out(subject.size() + replacement.size() + 32, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        PCRE2_SIZE length = out.size();
        const int rc = pcre2_substitute(
            code_->code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0, options,
            nullptr, code_->context, reinterpret_cast<PCRE2_SPTR>(replacement.data()),
            replacement.size(), reinterpret_cast<PCRE2_UCHAR*>(out.data()), &length);
        if (rc >= 0) {
            out.resize(length);
            return out;
        }
        if (rc != PCRE2_ERROR_NOMEMORY) return std::nullopt;
        out.resize(length);  // the length it needs, told by OVERFLOW_LENGTH
    }
    return std::nullopt;
}

}  // namespace varnel
