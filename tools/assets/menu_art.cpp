// The main menu: fourteen frames of 150 x 75, the seven buttons as they rest (1 to 7) and
// under the cursor (8 to 14). The game stacks them in one column over the board, so each
// plate keeps a margin of board around it. Button 5 has no action: it is not drawn as a
// button but as the game's nameplate, an engraved brass plate reading "Gorvendal" between an
// ivory and an ebony piece.
#include <algorithm>
#include <array>
#include <cmath>

#include "artwork.h"

namespace art {

namespace {

constexpr int kWidth = 150;
constexpr int kHeight = 75;
constexpr int kButtons = 7;
constexpr int kNameplate = 5;
constexpr int kLabelSize = 16;
constexpr int kLabelRoom = 124;  // a longer label is narrowed to this width

// UTF-8 labels, button 1 to 7; button 5's text is the nameplate's.
constexpr std::array<const char*, kButtons> kLabels = {
    "Nouvelle partie",
    "D\xC3\xA9"
    "monstration",
    "Sauvegarder",
    "Charger",
    "Gorvendal",
    "Quitter",
    "Reprendre",
};

constexpr PlateBox kPlate = {6, 4, 144, 69, 9, 3, true, 1};

Image buttonFrame(Fonts& fonts, int button, bool lit) {
    Canvas canvas(kWidth, kHeight, palette::kOak);
    PlateBox box = kPlate;
    box.seed = 100 + static_cast<std::uint32_t>(button);
    paintPlate(canvas, box, lit);

    // Brass studs in the corners of the panel.
    for (const float sx : {16.0f, 134.0f}) {
        for (const float sy : {14.0f, 59.5f}) {
            canvas.paint(
                static_cast<int>(sx) - 4, static_cast<int>(sy) - 4, static_cast<int>(sx) + 4,
                static_cast<int>(sy) + 4,
                [=](float x, float y) { return circleDistance(x, y, sx, sy, 2.2f); },
                [=](float x, float y) {
                    const float k = clamp01(0.5f - ((x - sx) + (y - sy)) * 0.25f);
                    return mix(palette::kGoldDark, lit ? rgb(255, 246, 200) : palette::kGoldLight,
                               k);
                });
        }
    }

    Lettering style;
    style.face = Face::SerifBold;
    style.size = kLabelSize;
    style.maxWidth = kLabelRoom;
    style.shadowOffset = 1.5f;
    style.shadowRadius = 1;
    style.shadowStrength = 0.9f;
    if (lit) {
        style.glowRadius = 3;
        style.glowStrength = 0.7f;
        style.glowColour = rgb(255, 196, 80);
    }
    const Colour top = lit ? rgb(255, 255, 242) : palette::kCream;
    const Colour low = lit ? rgb(255, 226, 150) : rgb(214, 192, 150);
    const float middle = (kPlate.top + kPlate.bottom) * 0.5f;
    drawLettering(canvas, fonts, style, kLabels[button - 1], kWidth * 0.5f, middle,
                  [=](float, float y) { return mix(top, low, clamp01((y - middle + 8) / 16)); });
    return finish(canvas, 0.5f, Quantise::Dithered);
}

Image nameplateFrame(Fonts& fonts, bool lit) {
    Canvas canvas(kWidth, kHeight, palette::kOak);
    const float l = kPlate.left, t = kPlate.top, r = kPlate.right, b = kPlate.bottom;
    canvas.shadow(
        static_cast<int>(l) - 2, static_cast<int>(t) - 2, static_cast<int>(r) + 6,
        static_cast<int>(b) + 6,
        [=](float x, float y) {
            return boxDistance(x, y, l + 1.5f, t + 2.5f, r + 1.5f, b + 2.5f, 9);
        },
        3.0f, 0.5f);
    // A walnut mount...
    canvas.paint(
        0, 0, kWidth, kHeight, [=](float x, float y) { return boxDistance(x, y, l, t, r, b, 9); },
        [=](float x, float y) {
            const float grain = 1.0f + 0.07f * smoothNoise(x * 0.05f, y * 0.8f, 501);
            return scaled(mix(palette::kWalnut, palette::kWalnutDark, (y - t) / (b - t)), grain);
        });
    // ...holding a brushed brass plate with bevelled edges, aged and dull until the cursor is on
    // it, so that it never looks like the button under the cursor.
    const float il = l + 5, it = t + 5, ir = r - 5, ib = b - 5;
    const Colour brassTop = lit ? rgb(255, 236, 170) : rgb(184, 152, 96);
    const Colour brassLow = lit ? rgb(214, 166, 84) : rgb(128, 96, 50);
    canvas.paint(
        0, 0, kWidth, kHeight,
        [=](float x, float y) { return boxDistance(x, y, il, it, ir, ib, 4); },
        [=](float x, float y) {
            const float brush = 1.0f + 0.035f * smoothNoise(x * 0.02f, y * 2.3f, 502);
            const float sheen =
                1.0f + 0.10f * std::exp(-std::pow((x - y * 1.6f - 40.0f) / 28.0f, 2.0f));
            return scaled(mix(brassTop, brassLow, (y - it) / (ib - it)), brush * sheen);
        });
    canvas.paint(
        0, 0, kWidth, kHeight,
        [=](float x, float y) {
            return std::fabs(boxDistance(x, y, il, it, ir, ib, 4) + 0.6f) - 0.6f;
        },
        [=](float, float y) {
            return mix(rgb(255, 246, 208), rgb(92, 60, 24), clamp01((y - it) / (ib - it)));
        },
        0.8f);

    // An ivory and an ebony piece at the ends of the plate.
    const float my = (t + b) * 0.5f;
    paintPiece(canvas, 21.0f, my, 7.5f, PieceKind::Ivory, true);
    paintPiece(canvas, kWidth - 21.0f, my, 7.5f, PieceKind::Ebony, true);

    // The engraved name: dark letters with a light edge below them, as if cut into the brass.
    const TextMask letters =
        squeezed(renderText(fonts, Face::SerifBold, kLabelSize, kLabels[kNameplate - 1]), 82);
    const int left = centredLeft(letters, kWidth * 0.5f);
    const int top = centredTop(letters, my);
    drawMask(
        canvas, letters, left, top + 1, [](float, float) { return rgb(255, 244, 206); }, 0.7f);
    drawMask(canvas, letters, left, top, [](float, float) { return rgb(74, 44, 18); });
    return finish(canvas, 0.5f, Quantise::Dithered);
}

}  // namespace

Image makeMenuSheet(Fonts& fonts) {
    Image sheet(kWidth * kButtons * 2, kHeight);
    for (int lit = 0; lit < 2; ++lit) {
        for (int button = 1; button <= kButtons; ++button) {
            const Image frame = button == kNameplate ? nameplateFrame(fonts, lit != 0)
                                                     : buttonFrame(fonts, button, lit != 0);
            sheet.paste(frame, kWidth * (button - 1 + lit * kButtons), 0);
        }
    }
    return sheet;
}

}  // namespace art
