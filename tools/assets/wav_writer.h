// Writes sounds as the game reads them: RIFF WAVE files holding 16-bit PCM, mono.
#pragma once

#include <cstdint>
#include <vector>

#include "sound_synth.h"

namespace sound {

// The whole file's bytes: the RIFF header, a 16-byte "fmt " chunk and the "data" chunk.
// Samples are clamped to [-1, 1] before they are scaled to 16 bits.
std::vector<std::uint8_t> encodeWav(const Wave& wave);

}  // namespace sound
