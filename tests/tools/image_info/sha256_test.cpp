// The inspector's SHA-256 against published digests.
#include <gtest/gtest.h>

#include <string>

#include "sha256.h"

namespace {
std::span<const std::uint8_t> bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}
}  // namespace

TEST(Sha256, KnownVectors) {
    // The examples of FIPS 180-4, the empty message, and 55, 56 and 64 bytes, which put the length
    // field in the same block, in the next block, and after a full block.
    const std::pair<std::string, const char*> vectors[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstno"
         "pqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [message, digest] : vectors) EXPECT_EQ(Sha256::hex(bytes(message)), digest) << message.size();

    // The million 'a' fed in uneven pieces gives the same digest as in one piece.
    const std::string a(1000000, 'a');
    Sha256 whole, pieces;
    whole.update(bytes(a));
    std::size_t done = 0;
    for (std::size_t piece = 1; done < a.size(); piece = piece * 7 % 1000 + 1) {
        const std::size_t take = std::min(piece, a.size() - done);
        pieces.update(bytes(a).subspan(done, take));
        done += take;
    }
    EXPECT_EQ(pieces.finish(), whole.finish());
}
