// SPDX-License-Identifier: GPL-3.0-or-later
// SHA-256 against the test vectors of FIPS 180-4 (the examples of the
// NIST "SHA256.pdf" and the million-'a' message), whole and in pieces.
#include "platform/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace varnel {
namespace {

std::string hex(const Sha256Digest& digest) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : digest) {
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

struct Vector {
    std::string message;
    const char* digest;
};

const std::vector<Vector>& vectors() {
    static const std::vector<Vector> all = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqr"
         "lmnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        // 55, 56 and 64 bytes: the length field just fits, needs a second
        // block, or follows a full block.
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
    };
    return all;
}

TEST(Sha256, MatchesTheStandardsVectors) {
    for (const Vector& v : vectors()) {
        EXPECT_EQ(hex(sha256(v.message)), v.digest) << v.message.size() << " bytes";
        // Fed in uneven pieces, the digest is the same.
        Sha256 pieces;
        for (std::size_t at = 0, step = 1; at < v.message.size(); at += step, step = step * 3 + 1)
            pieces.update(std::string_view(v.message).substr(at, step));
        EXPECT_EQ(hex(pieces.finish()), v.digest) << v.message.size() << " bytes in pieces";
    }
}

}  // namespace
}  // namespace varnel
