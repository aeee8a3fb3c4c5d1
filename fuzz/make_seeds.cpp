// Writes the binary seeds of the picture and wave fuzzers: small BMP files of every kind the
// loader accepts (the ways of storing pixels, the header versions, rows either way up), and the
// wave files the tests build (plain, with an 18-byte format, with chunks between, cut short,
// claiming more than they hold, odd-sized, without a format or data). The game's own generated
// pictures and sounds are added beside them by run.sh.
//
// Usage: gorvendal-fuzz-seeds PICTURE_FOLDER WAVE_FOLDER
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "wave_builder.h"

namespace {

using wave_builder::le16;
using wave_builder::le32;

struct BmpLayout {
    std::uint32_t infoSize = 40;  // 12 (core), 40, 108 (v4) or 124 (v5)
    int width = 5;
    int height = 3;  // negative: rows top-down
    int bitsPerPixel = 24;
    std::uint32_t compression = 0;  // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields
    int paletteEntries = 0;
    std::vector<std::uint32_t> masks;  // red, green, blue (, alpha) for bit fields
    std::string pixels;                // as stored; built from the size when empty
};

BmpLayout layout(std::uint32_t infoSize, int width, int height, int bitsPerPixel,
             std::uint32_t compression = 0, int paletteEntries = 0,
             std::vector<std::uint32_t> masks = {}, std::string pixels = {}) {
    BmpLayout out;
    out.infoSize = infoSize;
    out.width = width;
    out.height = height;
    out.bitsPerPixel = bitsPerPixel;
    out.compression = compression;
    out.paletteEntries = paletteEntries;
    out.masks = std::move(masks);
    out.pixels = std::move(pixels);
    return out;
}

std::string bmp(const BmpLayout& layout) {
    std::string info;
    if (layout.infoSize == 12) {
        info = le32(12) + le16(static_cast<std::uint16_t>(layout.width)) +
               le16(static_cast<std::uint16_t>(layout.height)) + le16(1) +
               le16(static_cast<std::uint16_t>(layout.bitsPerPixel));
    } else {
        info = le32(layout.infoSize) + le32(static_cast<std::uint32_t>(layout.width)) +
               le32(static_cast<std::uint32_t>(layout.height)) + le16(1) +
               le16(static_cast<std::uint16_t>(layout.bitsPerPixel)) + le32(layout.compression) +
               le32(static_cast<std::uint32_t>(layout.pixels.size())) + le32(2835) + le32(2835) +
               le32(static_cast<std::uint32_t>(layout.paletteEntries)) + le32(0);
        // Version 4 and 5 headers carry the masks themselves; the 40-byte one has them after it.
        std::string masks;
        for (std::uint32_t mask : layout.masks) {
            masks += le32(mask);
        }
        if (layout.infoSize > 40) {
            masks.resize(16, '\0');
            info += masks;
            info.resize(layout.infoSize, '\0');
        } else {
            info += masks;
        }
    }
    std::string palette;
    for (int i = 0; i < layout.paletteEntries; ++i) {
        const char b = static_cast<char>(i * 60);
        const char g = static_cast<char>(255 - i * 40);
        const char r = static_cast<char>(i * 90);
        palette += std::string{b, g, r};
        if (layout.infoSize != 12) {
            palette.push_back('\0');
        }
    }
    std::string pixels = layout.pixels;
    if (pixels.empty()) {
        const int rows = layout.height < 0 ? -layout.height : layout.height;
        const int rowBytes = (layout.width * layout.bitsPerPixel + 31) / 32 * 4;
        for (int i = 0; i < rowBytes * rows; ++i) {
            int value = i * 37 + 11;
            if (layout.paletteEntries > 0 && layout.bitsPerPixel == 8) {
                value = i % layout.paletteEntries;  // indices within the palette
            } else if (layout.paletteEntries > 0 && layout.bitsPerPixel == 4) {
                value = (i % layout.paletteEntries) << 4 | (i + 1) % layout.paletteEntries;
            }
            pixels.push_back(static_cast<char>(value));
        }
    }
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + info.size() + palette.size());
    return "BM" + le32(static_cast<std::uint32_t>(offset + pixels.size())) + le32(0) +
           le32(offset) + info + palette + pixels;
}

void write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gorvendal-fuzz-seeds PICTURE_FOLDER WAVE_FOLDER\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path pictures = argv[1];
    const fs::path waves = argv[2];
    fs::create_directories(pictures);
    fs::create_directories(waves);

    // RLE8: a run, literal pixels, a line end, a jump, the end of the picture.
    const std::string rle8 = std::string("\x03\x01\x00\x02\x02\x03\x00\x00", 8) +
                             std::string("\x00\x02\x01\x01\x02\x00\x00\x01", 8);
    const std::string rle4 = std::string("\x05\x12\x00\x00\x00\x04\x34\x56\x00\x01", 10);
    const std::vector<std::pair<const char*, BmpLayout>> bitmaps = {
        {"rgb24.bmp", layout(40, 5, 3, 24)},
        {"rgb24-top-down.bmp", layout(40, 5, -3, 24)},
        {"rgb32.bmp", layout(40, 4, 2, 32)},
        {"rgb16.bmp", layout(40, 3, 3, 16)},
        {"bitfields565.bmp", layout(40, 4, 2, 16, 3, 0, {0xF800, 0x07E0, 0x001F})},
        {"bitfields32-v5.bmp", layout(124, 3, 2, 32, 3, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000})},
        {"rgb24-v4.bmp", layout(108, 2, 2, 24)},
        {"palette8.bmp", layout(40, 6, 2, 8, 0, 4)},
        {"palette4.bmp", layout(40, 7, 3, 4, 0, 5)},
        {"palette1.bmp", layout(40, 9, 2, 1, 0, 2)},
        {"rle8.bmp", layout(40, 4, 3, 8, 1, 4, {}, rle8)},
        {"rle4.bmp", layout(40, 6, 2, 4, 2, 6, {}, rle4)},
        {"core24.bmp", layout(12, 3, 2, 24)},
        {"core8.bmp", layout(12, 3, 2, 8, 0, 3)},
    };
    for (const auto& [name, picture] : bitmaps) {
        write(pictures / name, bmp(picture));
    }

    namespace wb = wave_builder;
    const std::string format = wb::chunk("fmt ", wb::pcmFormat(1, 11025, 8));
    const std::string data = wb::chunk("data", wb::samples(40, 3));
    const std::vector<std::pair<const char*, std::string>> sounds = {
        {"plain.wav", wb::pcmWave(wb::samples(64, 1))},
        {"format18.wav", wb::riff("WAVE", {wb::chunk("fmt ", wb::pcmFormat(2, 22050, 16, true)),
                                           wb::chunk("data", wb::samples(32, 5))})},
        {"chunks-between.wav",
         wb::riff("WAVE", {format, wb::chunk("fact", wb::le32(40)),
                           wb::chunk("LIST", "INFOISFT" + wb::le32(3) + "ab"), data})},
        {"odd-chunk.wav", wb::riff("WAVE", {format, wb::chunk("junk", "xyz"), data})},
        {"data-claims-more.wav",
         wb::riff("WAVE", {format, wb::chunkClaiming("data", 100000, wb::samples(20, 9))})},
        {"cut-short.wav", wb::pcmWave(wb::samples(64, 2)).substr(0, 50)},
        {"no-format.wav", wb::riff("WAVE", {data})},
        {"no-data.wav", wb::riff("WAVE", {format})},
        {"data-first.wav", wb::riff("WAVE", {data, format})},
        {"not-wave.wav", wb::riff("AVI ", {format, data})},
        {"line-ends.wav", wb::pcmWave(std::string("\r\n\x1A\r\n\x1A", 6))},
    };
    for (const auto& [name, bytes] : sounds) {
        write(waves / name, bytes);
    }
    return 0;
}
