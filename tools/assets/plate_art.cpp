// The plate every button is made of: a walnut panel with a fine grain, set in a bevelled gold
// frame and lit from above, with a soft shadow beneath. A lit plate (the button under the
// cursor) has a warmer, brighter panel and a brighter frame.
#include <cmath>

#include "artwork.h"

namespace art {

void paintPlate(Canvas& canvas, const PlateBox& box, bool lit) {
    const float l = box.left;
    const float t = box.top;
    const float r = box.right;
    const float b = box.bottom;
    const float radius = box.radius;
    const float height = b - t;

    if (box.shadow) {
        canvas.shadow(
            static_cast<int>(l) - 2, static_cast<int>(t) - 2, static_cast<int>(r) + 6,
            static_cast<int>(b) + 6,
            [=](float x, float y) {
                return boxDistance(x, y, l + 1.5f, t + 2.5f, r + 1.5f, b + 2.5f, radius);
            },
            3.0f, 0.5f);
    }

    // The gold frame, bright along its top edge and dark along its bottom.
    const Colour goldTop = lit ? rgb(255, 240, 178) : palette::kGoldLight;
    const Colour goldMid = lit ? rgb(246, 204, 112) : palette::kGold;
    const Colour goldLow = lit ? rgb(176, 128, 52) : palette::kGoldDark;
    canvas.paint(
        static_cast<int>(l) - 1, static_cast<int>(t) - 1, static_cast<int>(r) + 1,
        static_cast<int>(b) + 1,
        [=](float x, float y) { return boxDistance(x, y, l, t, r, b, radius); },
        [=](float, float y) {
            const float v = (y - t) / height;
            return v < 0.5f ? mix(goldTop, goldMid, v * 2.0f)
                            : mix(goldMid, goldLow, v * 2.0f - 1.0f);
        });

    // The walnut panel inside the frame.
    const float inset = box.frameWidth;
    const float il = l + inset;
    const float it = t + inset;
    const float ir = r - inset;
    const float ib = b - inset;
    const float innerRadius = std::max(1.0f, radius - inset);
    const Colour woodTop = lit ? rgb(186, 116, 56) : rgb(104, 62, 36);
    const Colour woodLow = lit ? rgb(122, 70, 32) : rgb(58, 33, 20);
    const std::uint32_t seed = box.seed;
    canvas.paint(
        static_cast<int>(il) - 1, static_cast<int>(it) - 1, static_cast<int>(ir) + 1,
        static_cast<int>(ib) + 1,
        [=](float x, float y) { return boxDistance(x, y, il, it, ir, ib, innerRadius); },
        [=](float x, float y) {
            const float v = (y - it) / (ib - it);
            const float grain = 1.0f + 0.06f * smoothNoise(x * 0.04f, y * 0.7f, seed) +
                                0.03f * smoothNoise(x * 0.15f, y * 1.7f, seed + 1);
            return scaled(mix(woodTop, woodLow, v), grain);
        });

    // A bevel inside the frame: a dark line where the panel meets the frame at the top (the
    // panel lies lower than the frame), a light one at the bottom.
    canvas.paint(
        static_cast<int>(il) - 1, static_cast<int>(it) - 1, static_cast<int>(ir) + 1,
        static_cast<int>(ib) + 1,
        [=](float x, float y) {
            return std::fabs(boxDistance(x, y, il, it, ir, ib, innerRadius) + 0.6f) - 0.6f;
        },
        [=](float, float y) {
            const float v = (y - it) / (ib - it);
            return mix(rgb(24, 12, 6), lit ? rgb(255, 226, 150) : rgb(226, 186, 112), v);
        },
        0.7f);

    // A light line along the top of the frame itself.
    canvas.paint(
        static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(t) + 3,
        [=](float x, float y) {
            return std::fabs(boxDistance(x, y, l, t, r, b, radius) + 0.7f) - 0.5f;
        },
        [](float, float) { return rgb(255, 250, 226); }, 0.5f);
}

}  // namespace art
