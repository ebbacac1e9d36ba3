// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SHA-256 (FIPS 180-4), for the records that bind a crash-recovery record
// to the exact bytes of a file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace varnel {

using Sha256Digest = std::array<std::uint8_t, 32>;

// Incremental hashing: update() any number of times, then finish() once.
class Sha256 {
public:
    Sha256();
    void update(std::string_view bytes);
    [[nodiscard]] Sha256Digest finish();

private:
    void compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pending_size_ = 0;
    std::uint64_t total_ = 0;
};

// The digest of `bytes`.
[[nodiscard]] Sha256Digest sha256(std::string_view bytes);

}  // namespace varnel
