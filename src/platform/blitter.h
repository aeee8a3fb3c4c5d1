// The blitter: nearest-neighbour stretching copies between RGB565 pixel arrays, with or without
// a source colour key. It is the one hot loop of the platform layer (the board's background is
// a 20 x 20 frame stretched over 800 x 600 every frame, then some 300 sprites on top).
#pragma once

#include <cstdint>

namespace plat::detail {

// A rectangle in 64-bit coordinates, so that a destination far off the surface (or one whose
// right edge overflows an int) is clipped without overflow. Right and bottom are exclusive.
struct Span {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};

struct PixelTarget {
    std::uint16_t* pixels;
    int width;
    int height;  // pitch = width
};

struct PixelSource {
    const std::uint16_t* pixels;
    int pitch;  // in pixels
};

// Copies the source rectangle (which must lie inside the source and not be empty) to the
// destination rectangle (not empty; any part of it off the target is clipped away), stretched
// or shrunk. In 16.16 fixed point, with step = (sourceWidth << 16) / destinationWidth, column i
// of the destination rectangle takes source column left + ((step / 2 + i * step) >> 16), and
// rows likewise: the pixel centres SDL_BlitScaled picks. With `keyed`, source pixels equal to
// `key` are left out. Clipping does not move the picture: the visible part is what the whole
// rectangle would have shown there.
void stretchCopy(const PixelTarget& target, const Span& destination, const PixelSource& source,
                 const Span& sourceRect, bool keyed, std::uint16_t key);

}  // namespace plat::detail
