#include "sound/wave_image.h"

#include <cstdio>

namespace {

constexpr std::uint32_t kWaveForm = plat::fourCc('W', 'A', 'V', 'E');
constexpr std::uint32_t kFormatChunk = plat::fourCc('f', 'm', 't', ' ');
constexpr std::uint32_t kDataChunk = plat::fourCc('d', 'a', 't', 'a');
// What readFormat copies from the start of the format chunk, whatever that chunk's own size.
constexpr std::uint32_t kFormatBytes = 18;

std::uint16_t little16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t little32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

// Descends from the top of the image into its WAVE form and then into the chunk `id`; the
// file then stands at the start of that chunk's data.
bool findChunk(plat::MemoryFile& file, std::uint32_t id, plat::ChunkInfo& chunk) {
    plat::ChunkInfo form;
    if (!file.descendRiff(kWaveForm, form)) {
        return false;
    }
    return file.descendChunk(id, &form, chunk);
}

// Finds the data chunk of a WAVE image that also has a format chunk, and the number of its
// bytes that the image really holds; the file then stands at the start of the samples.
bool findSamples(const std::uint8_t* data, std::uint32_t size, plat::MemoryFile& file,
                 std::uint32_t& bytes) {
    // Without a format there is no sound to speak of, whatever samples follow.
    plat::MemoryFile formatFile(data, size);
    plat::ChunkInfo format;
    if (!findChunk(formatFile, kFormatChunk, format)) {
        return false;
    }
    plat::ChunkInfo chunk;
    if (!findChunk(file, kDataChunk, chunk) || chunk.dataOffset > size) {
        return false;
    }
    // A chunk whose header claims more than the image holds is taken as what is there, so that
    // a sound buffer is never made bigger than the sound it receives.
    const std::uint32_t held = size - chunk.dataOffset;
    bytes = chunk.size < held ? chunk.size : held;
    return true;
}

}  // namespace

WaveImage::~WaveImage() {
    release();
}

bool WaveImage::loadFile(const char* path) {
    release();
    fromResource = 0;
    std::FILE* file = plat::openFile(path, "rb");
    if (file == nullptr) {
        return false;
    }
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        length = std::ftell(file);
    }
    if (length <= 0 || static_cast<unsigned long>(length) > 0xFFFFFFFFul) {
        // An empty file ends here too: there is no block of zero bytes.
        std::fclose(file);
        return false;
    }
    const auto length32 = static_cast<std::uint32_t>(length);
    std::uint8_t* block = plat::globalAllocLocked(length32);
    if (block == nullptr) {
        std::fclose(file);
        return false;
    }
    data = block;
    size = length32;
    // A short read leaves the rest of the block as it was allocated (zeros); the load stands.
    std::rewind(file);
    const std::size_t ignored = std::fread(data, 1, size, file);
    (void)ignored;
    std::fclose(file);
    return true;
}

bool WaveImage::release() {
    if (data == nullptr) {
        return false;
    }
    if (!plat::globalFree(data)) {
        return false;
    }
    data = nullptr;
    size = 0;
    return true;
}

bool WaveImage::readFormat(plat::WaveFormat& format) {
    if (data == nullptr) {
        return false;
    }
    plat::MemoryFile file(data, size);
    plat::ChunkInfo chunk;
    if (!findChunk(file, kFormatChunk, chunk)) {
        return false;
    }
    // Eighteen bytes from the start of the chunk's data, even when the chunk has only the
    // sixteen of plain PCM: the last two then come from what follows. Bytes beyond the end of
    // the image read as 0.
    std::uint8_t bytes[kFormatBytes] = {};
    file.read(bytes, kFormatBytes);
    format.formatTag = little16(bytes + 0);
    format.channels = little16(bytes + 2);
    format.samplesPerSecond = little32(bytes + 4);
    format.averageBytesPerSecond = little32(bytes + 8);
    format.blockAlign = little16(bytes + 12);
    format.bitsPerSample = little16(bytes + 14);
    format.extraSize = little16(bytes + 16);
    return true;
}

std::uint32_t WaveImage::dataSize() {
    if (data == nullptr) {
        return 0;
    }
    plat::MemoryFile file(data, size);
    std::uint32_t bytes = 0;
    return findSamples(data, size, file, bytes) ? bytes : 0;
}

std::uint32_t WaveImage::readData(std::uint8_t** block, std::uint32_t maxBytes) {
    if (data == nullptr || block == nullptr) {
        return 0;
    }
    plat::MemoryFile file(data, size);
    std::uint32_t count = 0;
    if (!findSamples(data, size, file, count)) {
        return 0;
    }
    if (*block == nullptr) {
        // The caller gets a new block of the whole data and owns it from now on.
        *block = plat::globalAllocLocked(count);
        if (*block == nullptr) {
            return 0;
        }
    } else if (maxBytes < count) {
        count = maxBytes;
    }
    return file.read(*block, count);
}
