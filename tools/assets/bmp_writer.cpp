#include "bmp_writer.h"

namespace art {

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> encodeBmp(const Image& image) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(image.height);
    const std::uint32_t headerBytes = 14 + 40;

    std::vector<std::uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    // File header.
    out.push_back('B');
    out.push_back('M');
    put32(out, headerBytes + pixelBytes);
    put32(out, 0);
    put32(out, headerBytes);
    // Information header (BITMAPINFOHEADER): a positive height means bottom-up rows.
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(image.width));
    put32(out, static_cast<std::uint32_t>(image.height));
    put16(out, 1);   // planes
    put16(out, 24);  // bits per pixel
    put32(out, 0);   // no compression
    put32(out, pixelBytes);
    put32(out, 2835);  // 72 dots per inch
    put32(out, 2835);
    put32(out, 0);  // no palette
    put32(out, 0);
    // Pixels, bottom row first, in B, G, R order.
    for (int y = image.height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = &image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3];
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        while (out.size() - start < rowBytes) {
            out.push_back(0);
        }
    }
    return out;
}

}  // namespace art
