// The board: frame 1 is the colour of the grid lines, frame 2 the board's surface. The game
// stretches frame 2 from 20 x 20 to the whole 800 x 600 screen, so every pixel of it becomes a
// block of 40 x 30: the texture is a quiet oak, varying gently from block to block, with the
// grain running in slow horizontal bands and the edges a shade darker than the middle.
#include <cmath>

#include "artwork.h"

namespace art {

namespace {

constexpr int kFrame = 20;

Colour boardPixel(int x, int y) {
    // Grain: bands along the rows, a slow drift along them, a little grit per block.
    const float band = 0.024f * smoothNoise(0.7f, y * 0.55f, 11);
    const float drift = 0.015f * smoothNoise(x * 0.30f, y * 0.85f, 23);
    const float grit = 0.006f * latticeNoise(x, y, 37);
    // Darker towards the edges of the screen, as if lit from above the middle.
    const float dx = (x + 0.5f - kFrame * 0.5f) / (kFrame * 0.5f);
    const float dy = (y + 0.5f - kFrame * 0.5f) / (kFrame * 0.5f);
    const float vignette = -0.045f * (dx * dx * 0.7f + dy * dy);
    const float k = 1.0f + band + drift + grit + vignette;
    // A darker grain is also a redder one.
    Colour c = scaled(palette::kOak, k);
    c.b *= 1.0f + (k - 1.0f) * 0.6f;
    return c;
}

}  // namespace

Image makeGridSheet() {
    Canvas sheet(kFrame * 2, kFrame, palette::kOak);
    sheet.fill([](float x, float y) {
        if (x < kFrame) {
            return palette::kWalnutLine;
        }
        return boardPixel(static_cast<int>(x) - kFrame, static_cast<int>(y));
    });
    return finish(sheet);
}

}  // namespace art
