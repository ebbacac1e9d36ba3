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

}  // namespace

void compute_new_names(const NumberOptions& options, std::span<const std::string> old_names,
                       std::span<std::string> new_names) {
    const std::size_t n = std::min(old_names.size(), new_names.size());
    const bool renumber_main = options.scope != NameScope::extension;
    const ExtMode mode = ext_mode(options);
    const Numbering main_fmt =
        read_numbering(options.prefix, options.body, options.suffix, options.digits);
    const Numbering ext_fmt = read_numbering(options.ext_prefix, options.ext_body,
                                             options.ext_suffix, options.ext_digits);
    const std::size_t fixed_ext_size =
        1 + options.ext_prefix.size() + options.ext_body.size() + options.ext_suffix.size();

    // start + (i-1) * step in 32-bit arithmetic that wraps around (modulo
    // 2^32) on overflow; done unsigned so the wrap is well defined.
    auto value = static_cast<std::uint32_t>(to_integer(options.start));
    const auto step = static_cast<std::uint32_t>(to_integer(options.step));
    for (std::size_t i = 0; i < n; ++i, value += step) {
        const NameParts parts = split_name(old_names[i]);
        const std::string number = to_text(static_cast<std::int32_t>(value));
        std::string& name = new_names[i];
        name.clear();
        name.reserve(numbered_size(main_fmt, number.size()) + parts.main.size() +
                     numbered_size(ext_fmt, number.size()) + parts.ext.size() + fixed_ext_size);
        if (renumber_main) {
            append_numbered(name, parts.main, main_fmt, number);
        } else {
            name.append(parts.main);
        }
        switch (mode) {
            case ExtMode::keep:
                name.append(parts.ext);
                break;
            case ExtMode::remove:
                break;
            case ExtMode::renumber:
                append_numbered(name, parts.ext, ext_fmt, number);
                break;
            case ExtMode::fixed:
                name.append(".").append(options.ext_prefix).append(options.ext_body);
                name.append(options.ext_suffix);
                break;
        }
    }
}

}  // namespace varnel
