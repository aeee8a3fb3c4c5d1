#include "wav_writer.h"

#include <algorithm>
#include <cmath>

namespace sound {

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(tag[i]));
    }
}

}  // namespace

std::vector<std::uint8_t> encodeWav(const Wave& wave) {
    constexpr std::uint32_t kChannels = 1;
    constexpr std::uint32_t kBits = 16;
    constexpr std::uint32_t kBlockAlign = kChannels * kBits / 8;
    const auto dataBytes = static_cast<std::uint32_t>(wave.samples.size() * kBlockAlign);

    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, kChannels);
    put32(out, kSampleRate);
    put32(out, kSampleRate * kBlockAlign);
    put16(out, kBlockAlign);
    put16(out, kBits);
    putTag(out, "data");
    put32(out, dataBytes);
    for (const float sample : wave.samples) {
        const long value = std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f);
        put16(out, static_cast<std::uint32_t>(static_cast<std::int16_t>(value)) & 0xFFFF);
    }
    return out;
}

}  // namespace sound
