#include "platform/name_order.h"

#include "platform/code_page_chars.h"

namespace varnel {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

unsigned char folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// Compares the digit runs starting at a[i] and b[j] by value and moves both
// past them.
int compare_numbers(std::string_view a, std::size_t& i, std::string_view b, std::size_t& j) {
    while (i < a.size() && a[i] == '0') ++i;
    while (j < b.size() && b[j] == '0') ++j;
    const std::size_t a_start = i;
    const std::size_t b_start = j;
    while (i < a.size() && is_digit(a[i])) ++i;
    while (j < b.size() && is_digit(b[j])) ++j;
    const std::size_t a_length = i - a_start;
    const std::size_t b_length = j - b_start;
    if (a_length != b_length) return a_length < b_length ? -1 : 1;
    const int order = a.substr(a_start, a_length).compare(b.substr(b_start, b_length));
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

// Compares the characters starting at a[i] and b[j] and moves both past them.
int compare_chars(std::string_view a, std::size_t& i, std::string_view b, std::size_t& j) {
    const std::size_t a_size = char_size_at(a, i);
    const std::size_t b_size = char_size_at(b, j);
    for (std::size_t k = 0; k < a_size && k < b_size; ++k) {
        const unsigned char x = folded(a[i + k]);
        const unsigned char y = folded(b[j + k]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a_size != b_size) return a_size < b_size ? -1 : 1;
    i += a_size;
    j += b_size;
    return 0;
}

}  // namespace

int natural_compare(std::string_view a, std::string_view b) noexcept {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const int order = is_digit(a[i]) && is_digit(b[j]) ? compare_numbers(a, i, b, j)
                                                           : compare_chars(a, i, b, j);
        if (order != 0) return order;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    const int bytes = a.compare(b);
    return bytes < 0 ? -1 : bytes > 0 ? 1 : 0;
}

}  // namespace varnel
