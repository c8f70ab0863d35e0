// Encodes the finished piece to MP3 with LAME: 44.1 kHz joint stereo, constant 192 kbit/s at quality 5 (its standard setting),
// with the LAME/Xing tag frame written at the start so gapless decoders cut the encoder's delay and
// padding and get exactly the samples that went in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soundtrack {

// samples: interleaved 16-bit stereo. False with a reason when encoding or writing fails.
bool mp3_write(const std::string& path, const std::vector<std::int16_t>& samples, int rate, std::string* error);

}  // namespace soundtrack
