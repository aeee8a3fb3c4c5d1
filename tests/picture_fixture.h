// A headless game with pictures of its own: the working folder's bitmaps are small test
// pictures of known solid colours (and its waves short silent sounds), so that pixel checks do
// not depend on the game's artwork.
//
// The pictures, sheet by sheet (every colour survives the conversion to RGB565 exactly):
//   cur.bmp     20 x 20   four quadrants: top-left kCursorTopLeft, top-right kCursorTopRight,
//                         bottom-left kCursorBottomLeft, bottom-right kCursorBottomRight
//   grille.bmp  40 x 20   frame 1 kGridLine, frame 2 kBoardBackground
//   pion.bmp    76 x 38   frame 1 kWhitePiece, frame 2 kBlackPiece
//   win.bmp     written 400 x 75 (stretched to 3200 x 600): four solid frames
//   menu.bmp    2100 x 75 frame n (1..14) menuFrameColour(n)
//   ok.bmp      written 40 x 20 (stretched to 80 x 40): left half kOkLeft, right half kOkRight
//   abcd.bmp    100 x 20  five 20 x 20 slices: 1 kSliceRed, 2 all black, 3 kSliceGreen inside a
//                         black border 2 pixels wide, 4 kSliceBlue, 5 kSliceWhite
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "test_support.h"

struct Rgb {
    std::uint8_t r, g, b;
};

// The RGB565 value of a colour, as the display holds it (low bits dropped).
constexpr std::uint16_t rgb565(Rgb c) {
    return static_cast<std::uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}
// The RGB565 value of a text colour 0x00BBGGRR.
constexpr std::uint16_t colourRefTo565(std::uint32_t colour) {
    return rgb565(Rgb{static_cast<std::uint8_t>(colour & 0xFF),
                      static_cast<std::uint8_t>((colour >> 8) & 0xFF),
                      static_cast<std::uint8_t>((colour >> 16) & 0xFF)});
}

inline constexpr Rgb kCursorTopLeft{248, 0, 248};
inline constexpr Rgb kCursorTopRight{0, 252, 248};
inline constexpr Rgb kCursorBottomLeft{248, 252, 0};
inline constexpr Rgb kCursorBottomRight{248, 128, 0};
inline constexpr Rgb kGridLine{200, 200, 200};
inline constexpr Rgb kBoardBackground{0, 128, 0};
inline constexpr Rgb kWhitePiece{240, 240, 240};
inline constexpr Rgb kBlackPiece{64, 32, 16};
inline constexpr Rgb kOkLeft{120, 0, 0};
inline constexpr Rgb kOkRight{0, 0, 120};
inline constexpr Rgb kSliceRed{248, 0, 0};
inline constexpr Rgb kSliceGreen{0, 252, 0};
inline constexpr Rgb kSliceBlue{0, 0, 248};
inline constexpr Rgb kSliceWhite{248, 252, 248};
inline constexpr std::uint16_t kGreyBox = colourRefTo565(0x7F7F7F);

// Button n's normal frame is n, its highlighted frame n + 7; every frame has its own colour.
constexpr Rgb menuFrameColour(int frame) {
    return Rgb{static_cast<std::uint8_t>(16 * frame), 100,
               static_cast<std::uint8_t>(frame <= 7 ? 40 : 160)};
}

// Writes an uncompressed 24-bit BMP; pixel(x, y) gives the colour of each pixel.
template <typename PixelFn>
void writeTestBmp(const std::string& path, int width, int height, PixelFn pixel);
void writeTestBmpPixels(const std::string& path, int width, int height,
                        const std::vector<Rgb>& pixels);

class PictureGame : public HeadlessGame {
  protected:
    void SetUp() override;

    // The pixel of the picture shown by the last flip, and of the back buffer now.
    std::uint16_t shown(int x, int y) const;
    std::uint16_t back(int x, int y) const;
    // Runs start-up and one frame, then hides the menu and the cursor so that a frame shows
    // the board alone.
    void startOnBareBoard();
};

template <typename PixelFn>
void writeTestBmp(const std::string& path, int width, int height, PixelFn pixel) {
    std::vector<Rgb> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y) * width + x] = pixel(x, y);
        }
    }
    writeTestBmpPixels(path, width, height, pixels);
}
