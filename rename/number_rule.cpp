// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/number_rule.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "rename/name_text.h"

namespace varnel {
namespace {

// No padding wider than this is applied. Plain field texts (at most three
// digits) never reach it, but a three-character field such as "1e9" would
// otherwise ask for a billion zeros per name.
constexpr int max_digits = 999;

// The fixed texts and padding width of one renumbered part.
struct Numbering {
    std::string_view prefix;
    std::string_view body;
    std::string_view suffix;
    int digits;
};

Numbering read_numbering(const std::string& prefix, const std::string& body,
                         const std::string& suffix, const std::string& digits) {
    return {prefix, body, suffix, std::min(to_integer(digits), max_digits)};
}

// What happens to the extension of every item.
enum class ExtMode { keep, remove, renumber, fixed };

ExtMode ext_mode(const NumberOptions& o) {
    if (o.scope == NameScope::main_name) return ExtMode::keep;
    if (o.ext_prefix.empty() && o.ext_body.empty() && o.ext_digits.empty() &&
        o.ext_suffix.empty()) {
        return ExtMode::remove;
    }
    // Any text in the digits field switches numbering on, even "0".
    return o.ext_digits.empty() ? ExtMode::fixed : ExtMode::renumber;
}

// Upper bound of the bytes append_numbered adds.
std::size_t numbered_size(const Numbering& f, std::size_t number_size) {
    const auto width = std::max(static_cast<std::size_t>(std::max(f.digits, 0)), number_size);
    return 1 + f.prefix.size() + f.body.size() + width + f.suffix.size();
}

// Appends lead + prefix + body + zeros + number + suffix, where lead keeps a
// leading dot of the old part (for an extension: its own dot, if it had one).
void append_numbered(std::string& out, std::string_view old_part, const Numbering& f,
                     std::string_view number) {
    if (!old_part.empty() && old_part.front() == '.') out.push_back('.');
    out.append(f.prefix).append(f.body);
    // The number's text, minus sign included, counts toward the width.
    const int zeros = f.digits - length(number);
    if (zeros > 0) out.append(static_cast<std::size_t>(zeros), '0');
    out.append(number).append(f.suffix);
}

// Everything a name needs from the options, read once per call.
struct Plan {
    bool renumber_main;
    ExtMode mode;
    Numbering main;
    Numbering ext;
    std::string fixed_ext;  // "." + prefix + new extension + suffix
};

Plan make_plan(const NumberOptions& o) {
    return {o.scope != NameScope::extension, ext_mode(o),
            read_numbering(o.prefix, o.body, o.suffix, o.digits),
            read_numbering(o.ext_prefix, o.ext_body, o.ext_suffix, o.ext_digits),
            "." + o.ext_prefix + o.ext_body + o.ext_suffix};
}

std::size_t ext_size(const Plan& plan, std::string_view old_ext, std::size_t number_size) {
    switch (plan.mode) {
        case ExtMode::keep:
            return old_ext.size();
        case ExtMode::remove:
            return 0;
        case ExtMode::renumber:
            return numbered_size(plan.ext, number_size);
        case ExtMode::fixed:
            return plan.fixed_ext.size();
    }
    return 0;
}

// Sets `name` to the new name of `old` carrying `number`.
void build_name(const Plan& plan, std::string_view old, std::string_view number,
                std::string& name) {
    const NameParts parts = split_name(old);
    name.clear();
    name.reserve(
        (plan.renumber_main ? numbered_size(plan.main, number.size()) : parts.main.size()) +
        ext_size(plan, parts.ext, number.size()));
    if (plan.renumber_main) {
        append_numbered(name, parts.main, plan.main, number);
    } else {
        name.append(parts.main);
    }
    switch (plan.mode) {
        case ExtMode::keep:
            name.append(parts.ext);
            break;
        case ExtMode::remove:
            break;
        case ExtMode::renumber:
            append_numbered(name, parts.ext, plan.ext, number);
            break;
        case ExtMode::fixed:
            name.append(plan.fixed_ext);
            break;
    }
}

}  // namespace

void compute_new_names(const NumberOptions& options, std::span<const std::string> old_names,
                       std::span<std::string> new_names) {
    const std::size_t n = std::min(old_names.size(), new_names.size());
    const Plan plan = make_plan(options);
    // start + (i-1) * step in 32-bit arithmetic that wraps around (modulo
    // 2^32) on overflow; done unsigned so the wrap is well defined.
    auto value = static_cast<std::uint32_t>(to_integer(options.start));
    const auto step = static_cast<std::uint32_t>(to_integer(options.step));
    for (std::size_t i = 0; i < n; ++i, value += step) {
        build_name(plan, old_names[i], to_text(static_cast<std::int32_t>(value)), new_names[i]);
    }
}

}  // namespace varnel
