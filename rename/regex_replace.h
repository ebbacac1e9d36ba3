// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Regular-expression replacement (PCRE2) on Unicode text.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

// A compiled pattern: PCRE2 syntax, UTF-8 text with Unicode properties
// (\w, \d and case folding know every script). Each match may run at most a
// bounded number of steps, so a pattern that backtracks catastrophically
// fails on a name instead of hanging the program.
class RegexReplacer {
public:
    // Compiles `pattern` (UTF-8); without `case_sensitive` letters of any
    // script match either case.
    RegexReplacer(std::string_view pattern, bool case_sensitive);
    ~RegexReplacer();
    RegexReplacer(RegexReplacer&&) noexcept;
    RegexReplacer& operator=(RegexReplacer&&) noexcept;

    [[nodiscard]] bool ok() const { return code_ != nullptr; }
    // Why the pattern did not compile: PCRE2's message and the 1-based
    // character offset where it stopped (UTF-8 text); empty when ok().
    [[nodiscard]] const std::string& error() const { return error_; }

    // Why `replacement` cannot be used with this pattern, in PCRE2's words
    // followed by the offending piece: a lone or trailing '$', '$' before
    // anything but '$', a digit, a name or '{', an unclosed "${", or a
    // reference ($5, ${5}, $name, ${name}) to a group the pattern lacks.
    // Empty when every reference names a group (or the pattern did not
    // compile: error() tells that).
    [[nodiscard]] std::string replacement_error(std::string_view replacement) const;

    enum class Outcome { replaced, too_long, failed };
    struct Result {
        Outcome outcome = Outcome::failed;
        std::string text;  // the result when replaced; empty otherwise
    };
    // `subject` with every non-overlapping match replaced by `replacement`,
    // in which $1…$99, ${name} and ${1} stand for groups and $$ for a
    // dollar sign. too_long as soon as the result would pass `max_bytes`
    // (it is never built further than that); failed when the pattern did
    // not compile, the subject is not UTF-8, the replacement names a group
    // the pattern lacks, or the step limit was reached.
    [[nodiscard]] Result replace_all(std::string_view subject, std::string_view replacement,
                                     std::size_t max_bytes) const;

private:
    struct Code;
    Code* code_ = nullptr;
    std::string error_;
};

}  // namespace varnel
