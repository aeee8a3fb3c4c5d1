#include "wave_builder.h"

#include <fstream>

namespace wave_builder {

namespace fs = std::filesystem;

std::string le16(std::uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string le32(std::uint32_t value) {
    return le16(static_cast<std::uint16_t>(value & 0xFFFF)) +
           le16(static_cast<std::uint16_t>(value >> 16));
}

std::string chunkClaiming(const std::string& id, std::uint32_t claimedSize,
                          const std::string& body) {
    std::string out = id + le32(claimedSize) + body;
    if (body.size() % 2 != 0) {
        out += '\0';
    }
    return out;
}

std::string chunk(const std::string& id, const std::string& body) {
    return chunkClaiming(id, static_cast<std::uint32_t>(body.size()), body);
}

std::string riff(const std::string& formType, const std::vector<std::string>& chunks) {
    std::string body = formType;
    for (const std::string& c : chunks) {
        body += c;
    }
    return "RIFF" + le32(static_cast<std::uint32_t>(body.size())) + body;
}

std::string pcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                      bool withExtraSize) {
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    std::string out =
        le16(1) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
    if (withExtraSize) {
        out += le16(0);
    }
    return out;
}

std::string pcmWave(const std::string& sampleBytes) {
    return riff("WAVE", {chunk("fmt ", pcmFormat(1, 11025, 8)), chunk("data", sampleBytes)});
}

std::string samples(std::size_t count, int seed) {
    std::string out(count, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = static_cast<char>((seed + static_cast<int>(i)) & 0xFF);
    }
    return out;
}

std::string gameSoundSamples(int id) {
    return samples(static_cast<std::size_t>(100 + 20 * id), 40 * id + 1);
}

void writeGameWaves(const fs::path& workDir, const std::string& missing) {
    const fs::path waves = workDir / "waves";
    // The fixture's link to the game's own sounds goes; what it names stays untouched.
    if (fs::is_symlink(waves)) {
        fs::remove(waves);
    } else {
        fs::remove_all(waves);
    }
    fs::create_directory(waves);
    const char* const names[4] = {"clic.wav", "depl.wav", "att.wav", "win.wav"};
    for (int id = 0; id < 4; ++id) {
        if (missing == names[id]) {
            continue;
        }
        std::ofstream out(waves / names[id], std::ios::binary);
        out << pcmWave(gameSoundSamples(id));
    }
}

}  // namespace wave_builder
