// Small wave files built byte by byte for the tests: RIFF chunks, PCM formats, whole files,
// and the game's four sound files written into a test's working folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace wave_builder {

std::string le16(std::uint16_t value);
std::string le32(std::uint32_t value);
// A chunk: identifier, size (the body's unless `claimedSize` is given), body, pad byte when the
// body is odd.
std::string chunk(const std::string& id, const std::string& body);
std::string chunkClaiming(const std::string& id, std::uint32_t claimedSize,
                          const std::string& body);
// The RIFF form around its chunks, with its size field counting them.
std::string riff(const std::string& formType, const std::vector<std::string>& chunks);
// A PCM format chunk's body: 16 bytes, or 18 with an extra size of 0.
std::string pcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                      bool withExtraSize = false);
// A plain file: a 16-byte PCM format (8-bit mono 11025 Hz) and the data chunk.
std::string pcmWave(const std::string& samples);
// `count` sample bytes that are not all alike (value = seed + index).
std::string samples(std::size_t count, int seed);

// The bytes of the game's four sounds as writeGameWaves writes them, by SoundId.
std::string gameSoundSamples(int id);
// Replaces the `waves` folder (or link) of `workDir` by a folder holding the four sound
// files, leaving out the one named `missing` ("clic.wav" etc.) when given.
void writeGameWaves(const std::filesystem::path& workDir, const std::string& missing = "");

}  // namespace wave_builder
