// The controls of the save and load screens and of the demonstration: the OK button (80 x 40),
// a small plate like the menu's, and the letter strip (100 x 20), five ivory tiles A to E,
// each in its own 20 x 20 cell with a gap of dark panel between them.
#include <array>
#include <cmath>

#include "artwork.h"

namespace art {

namespace {

// The OK button is shown over the board (demonstration) and over the screens' dark panel:
// its rounded corners are blended into a colour between the two.
const Colour kControlBackdrop = {70, 52, 38};

}  // namespace

Image makeOkButton(Fonts& fonts) {
    constexpr int kWidth = 80;
    constexpr int kHeight = 40;
    Canvas canvas(kWidth, kHeight, kControlBackdrop);
    PlateBox box{0.5f, 0.5f, kWidth - 0.5f, kHeight - 0.5f, 7, 3, false, 7};
    paintPlate(canvas, box, false);
    Lettering style;
    style.face = Face::SerifBold;
    style.size = 19;
    style.shadowOffset = 1.5f;
    style.shadowRadius = 1;
    style.shadowStrength = 0.9f;
    style.glowRadius = 2;
    style.glowStrength = 0.25f;
    style.glowColour = rgb(255, 200, 100);
    drawLettering(canvas, fonts, style, "OK", kWidth * 0.5f, kHeight * 0.5f, [](float, float y) {
        return mix(palette::kCream, rgb(226, 200, 150), clamp01((y - 13) / 14));
    });
    return finish(canvas);
}

Image makeLetterStrip(Fonts& fonts) {
    constexpr int kCell = 20;
    constexpr std::array<const char*, 5> kLetters = {"A", "B", "C", "D", "E"};
    Canvas canvas(kCell * 5, kCell, rgb(28, 22, 18));
    for (int i = 0; i < 5; ++i) {
        const float l = kCell * i + 1.0f;
        const float t = 1.0f;
        const float r = l + kCell - 2.0f;
        const float b = kCell - 1.0f;
        // An ivory tile, lighter at the top, with a darker rim.
        canvas.paint(
            kCell * i, 0, kCell * (i + 1), kCell,
            [=](float x, float y) { return boxDistance(x, y, l, t, r, b, 3); },
            [=](float, float y) {
                return mix(rgb(250, 242, 220), rgb(208, 190, 154), clamp01((y - t) / (b - t)));
            });
        canvas.paint(
            kCell * i, 0, kCell * (i + 1), kCell,
            [=](float x, float y) {
                return std::fabs(boxDistance(x, y, l, t, r, b, 3) + 0.5f) - 0.5f;
            },
            [=](float, float y) {
                return mix(rgb(176, 150, 110), rgb(112, 84, 52), clamp01((y - t) / (b - t)));
            });
        const TextMask letter = renderText(fonts, Face::SansBold, 13, kLetters[i]);
        const int left = centredLeft(letter, (l + r) * 0.5f);
        const int top = centredTop(letter, (t + b) * 0.5f);
        drawMask(
            canvas, letter, left, top + 1, [](float, float) { return rgb(255, 252, 240); }, 0.6f);
        drawMask(canvas, letter, left, top, [](float, float) { return rgb(72, 40, 20); });
    }
    return finish(canvas);
}

}  // namespace art
