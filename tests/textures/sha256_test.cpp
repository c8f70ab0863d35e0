#include <gtest/gtest.h>

#include <string>

#include "sha256.h"

namespace {
std::string hex_of(const std::string& text) {
    return Sha256::hex({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}
}  // namespace

TEST(Sha256, KnownVectors) {
    // FIPS 180-4 examples and the empty message.
    EXPECT_EQ(hex_of(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hex_of("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hex_of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(hex_of("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopq"
                     "rsmnopqrstnopqrstu"),
              "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
}

TEST(Sha256, PaddingBoundariesAndPiecewiseInput) {
    // 55, 56 and 64 bytes put the length field in the same block, the next block, and after a
    // full block; a million 'a' fed in uneven pieces gives the published digest.
    EXPECT_EQ(hex_of(std::string(55, 'a')), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
    EXPECT_EQ(hex_of(std::string(56, 'a')), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
    EXPECT_EQ(hex_of(std::string(64, 'a')), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");

    const std::string a(1000000, 'a');
    Sha256 sha;
    std::size_t done = 0;
    for (std::size_t piece = 1; done < a.size(); piece = piece * 7 % 1000 + 1) {
        const std::size_t take = std::min(piece, a.size() - done);
        sha.update({reinterpret_cast<const std::uint8_t*>(a.data()) + done, take});
        done += take;
    }
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : sha.finish()) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    EXPECT_EQ(text, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}
