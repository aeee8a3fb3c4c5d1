// Pictures: BMP files decoded by SDL, converted to RGB565 (so that the colour key is compared
// with converted pixels, as the display would after loading), stretched to the size the game
// asks for, and copied whole into a surface.
//
// A damaged file must never hurt the game: the header's sizes are checked before SDL decodes
// the file, so that a header claiming a huge picture is refused instead of allocated, and any
// failure of the decoder is a plain kNoHandle.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/blitter.h"
#include "platform/objects.h"

namespace plat {

namespace {

// Largest picture decoded: no side over 16384 pixels and no more than 64 million pixels (the
// game's largest picture is 3200 x 600).
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;
// Largest file read whole.
constexpr long kMaxFileBytes = 512L * 1024 * 1024;

std::uint32_t readLe32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) |
           (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint16_t readLe16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(file) : -1;
    ok = ok && length > 0 && length <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(length));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return ok;
}

// True when the header names a picture of a size worth decoding.
bool headerSizesAllowed(const std::vector<std::uint8_t>& bytes) {
    // File header (14 bytes), then the info header's own size.
    if (bytes.size() < 18 || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    const std::uint32_t infoSize = readLe32(bytes, 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t bitsPerPixel = 0;
    bool compressed = false;
    if (infoSize == 12) {
        if (bytes.size() < 14 + 12) {
            return false;
        }
        width = readLe16(bytes, 18);
        height = readLe16(bytes, 20);
        bitsPerPixel = readLe16(bytes, 24);
    } else {
        // The info headers of the format's versions run from 16 to 124 bytes.
        if (infoSize < 16 || infoSize > 124 || bytes.size() < 30) {
            return false;
        }
        width = static_cast<std::int32_t>(readLe32(bytes, 18));
        height = static_cast<std::int32_t>(readLe32(bytes, 22));
        // Plain, run-length (8 and 4 bits) or bit-field pixels; anything else is not a picture
        // this loader can read.
        const std::uint32_t compression =
            infoSize >= 20 && bytes.size() >= 34 ? readLe32(bytes, 30) : 0;
        if (compression > 3) {
            return false;
        }
        compressed = compression == 1 || compression == 2;
        bitsPerPixel = readLe16(bytes, 28);
    }
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        width * height > kMaxPixels) {
        return false;
    }
    // Pixels stored as they are must all be in the file (the last row's padding may be
    // missing, as the decoder allows): a few bytes claiming a large picture would otherwise
    // have the decoder allocate it whole before finding the file short.
    if (!compressed && bitsPerPixel > 0 && bitsPerPixel <= 32) {
        const std::int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
        const std::int64_t lastRowBytes = (width * bitsPerPixel + 7) / 8;
        const std::int64_t pixelsStart = readLe32(bytes, 10);
        if (pixelsStart + rowBytes * (height - 1) + lastRowBytes >
            static_cast<std::int64_t>(bytes.size())) {
            return false;
        }
    }
    return true;
}

// Decodes the file's bytes into RGB565 pixels; false on any failure.
bool decode(const std::vector<std::uint8_t>& bytes, int& width, int& height,
            std::vector<std::uint16_t>& pixels) {
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (stream == nullptr) {
        return false;
    }
    SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
    if (loaded == nullptr) {
        return false;
    }
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
    SDL_FreeSurface(loaded);
    if (converted == nullptr) {
        return false;
    }
    bool ok = converted->w > 0 && converted->h > 0 && SDL_LockSurface(converted) == 0;
    if (ok) {
        width = converted->w;
        height = converted->h;
        pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (int row = 0; row < height; ++row) {
            std::memcpy(pixels.data() + static_cast<std::size_t>(row) * width,
                        static_cast<const std::uint8_t*>(converted->pixels) +
                            static_cast<std::size_t>(row) * converted->pitch,
                        static_cast<std::size_t>(width) * sizeof(std::uint16_t));
        }
        SDL_UnlockSurface(converted);
    }
    SDL_FreeSurface(converted);
    return ok;
}

}  // namespace

Handle loadPicture(const char* path, int width, int height) {
    if (detail::injected(Op::LoadPicture) || path == nullptr || width <= 0 || height <= 0 ||
        width > kMaxSide || height > kMaxSide) {
        return kNoHandle;
    }
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(detail::systemPath(path), bytes) || !headerSizesAllowed(bytes)) {
        return kNoHandle;
    }
    int fileWidth = 0;
    int fileHeight = 0;
    std::vector<std::uint16_t> filePixels;
    if (!decode(bytes, fileWidth, fileHeight, filePixels)) {
        return kNoHandle;
    }
    detail::PictureObject picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    detail::stretchCopy({picture.pixels.data(), width, height}, {0, 0, width, height},
                        {filePixels.data(), fileWidth}, {0, 0, fileWidth, fileHeight}, false, 0);
    return detail::addObject(std::move(picture));
}

bool copyPictureToSurface(Handle picture, Handle surface) {
    if (detail::injected(Op::CopyPicture)) {
        return false;
    }
    const detail::PictureObject* from = detail::find<detail::PictureObject>(picture);
    detail::SurfaceObject* to = detail::find<detail::SurfaceObject>(surface);
    if (from == nullptr || to == nullptr || !to->dcHeld) {
        return false;
    }
    const int width = std::min(from->width, to->width);
    const int height = std::min(from->height, to->height);
    for (int row = 0; row < height; ++row) {
        std::copy_n(from->pixels.data() + static_cast<std::size_t>(row) * from->width, width,
                    to->pixels.data() + static_cast<std::size_t>(row) * to->width);
    }
    return true;
}

}  // namespace plat
