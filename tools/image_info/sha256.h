// SHA-256 (FIPS 180-4) for the picture inspector's fingerprints of decoded pictures. Incremental:
// feed bytes with update(), read the digest once with finish().
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class Sha256 {
public:
    Sha256();
    void update(std::span<const std::uint8_t> bytes);
    std::array<std::uint8_t, 32> finish();

    // Digest of `bytes` as 64 lower-case hexadecimal digits.
    static std::string hex(std::span<const std::uint8_t> bytes);

private:
    void compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> block_{};
    std::size_t block_used_ = 0;
    std::uint64_t total_bytes_ = 0;
};
