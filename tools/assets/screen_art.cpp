// The four full-screen pictures, 800 x 600 each, side by side:
//   1. white has won: "Les blancs ont gagné !", an ivory piece in a gold laurel wreath;
//   2. black has won: "Les noirs ont gagné !", an ebony piece in the wreath;
//   3. no survivor, which is also the save screen: the name "Gorvendal" as its title, the
//      words "Aucun survivant" beneath it, both pieces, and the dark panel on which the save
//      screen writes its lines and shows its letters and OK button;
//   4. the load screen: "Charger une partie" over the same panel.
// All four share a dark backdrop (warm in the middle, a faint pattern of the board's squares,
// near-black at the edges, never pure black) inside a thin gold border.
#include <cmath>
#include <numbers>
#include <vector>

#include "artwork.h"

namespace art {

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr float kDegree = std::numbers::pi_v<float> / 180.0f;

void paintBackdrop(Canvas& canvas, std::uint32_t seed) {
    canvas.fill([seed](float x, float y) {
        const float dx = (x - kWidth * 0.5f) / (kWidth * 0.5f);
        const float dy = (y - kHeight * 0.45f) / (kHeight * 0.5f);
        const float d = std::sqrt(dx * dx * 0.8f + dy * dy);
        const Colour base = mix(rgb(54, 39, 30), palette::kNight, smoothstep(0.05f, 1.25f, d));
        const int column = static_cast<int>(x) / 40;
        const int row = static_cast<int>(y) / 40;
        const float square = ((column + row) & 1) != 0 ? 1.04f : 0.97f;
        const float grain = 1.0f + 0.03f * smoothNoise(x * 0.015f, y * 0.12f, seed) +
                            0.015f * latticeNoise(static_cast<int>(x), static_cast<int>(y), seed);
        return scaled(base, square * grain);
    });
}

float diamondDistance(float x, float y, float cx, float cy, float size) {
    return (std::fabs(x - cx) + std::fabs(y - cy) - size) * std::numbers::sqrt2_v<float> * 0.5f;
}

void paintDiamond(Canvas& canvas, float cx, float cy, float size) {
    const int s = static_cast<int>(size) + 2;
    canvas.paint(
        static_cast<int>(cx) - s, static_cast<int>(cy) - s, static_cast<int>(cx) + s + 1,
        static_cast<int>(cy) + s + 1,
        [=](float x, float y) { return diamondDistance(x, y, cx, cy, size); },
        [=](float x, float y) {
            // Four facets, lit from the top left.
            const bool left = x < cx;
            const bool upper = y < cy;
            if (left && upper)
                return palette::kGoldLight;
            if (!left && !upper)
                return palette::kGoldDark;
            return palette::kGold;
        });
}

void paintBorder(Canvas& canvas) {
    const auto ring = [&canvas](float inset, float halfWidth, float radius, float opacity) {
        canvas.paint(
            0, 0, kWidth, kHeight,
            [=](float x, float y) {
                return std::fabs(boxDistance(x, y, inset, inset, kWidth - inset, kHeight - inset,
                                             radius)) -
                       halfWidth;
            },
            [](float, float y) {
                return mix(palette::kGold, palette::kGoldDark, y / static_cast<float>(kHeight));
            },
            opacity);
    };
    ring(16, 1.0f, 4, 1.0f);
    ring(23, 0.5f, 2, 0.7f);
    for (const float x : {16.0f, kWidth - 16.0f}) {
        for (const float y : {16.0f, kHeight - 16.0f}) {
            paintDiamond(canvas, x, y, 8);
        }
    }
    paintDiamond(canvas, kWidth * 0.5f, 16, 6);
    paintDiamond(canvas, kWidth * 0.5f, kHeight - 16.0f, 6);
}

// A thin gold rule with a diamond in its middle, thinning out towards its ends.
void paintRule(Canvas& canvas, float cy, float halfLength) {
    const float cx = kWidth * 0.5f;
    const float centre = std::floor(cy) + 0.5f;
    canvas.paint(
        static_cast<int>(cx - halfLength), static_cast<int>(cy) - 2,
        static_cast<int>(cx + halfLength), static_cast<int>(cy) + 3,
        [=](float x, float y) {
            const float t = (x - cx) / halfLength;
            return std::fabs(y - centre) - 0.8f * (1.0f - t * t);
        },
        [=](float x, float) {
            return mix(palette::kGold, palette::kGoldDark, std::fabs(x - cx) / halfLength);
        });
    paintDiamond(canvas, cx, centre, 5);
}

void paintTitle(Canvas& canvas, Fonts& fonts, const char* text, float cy, int size) {
    Lettering style;
    style.face = Face::SerifBold;
    style.size = size;
    style.shadowOffset = 3;
    style.shadowRadius = 2;
    style.shadowStrength = 0.9f;
    style.glowRadius = 6;
    style.glowStrength = 0.22f;
    style.glowColour = rgb(255, 190, 90);
    const float half = size * 0.38f;
    drawLettering(canvas, fonts, style, text, kWidth * 0.5f, cy, [=](float, float y) {
        const float v = clamp01((y - (cy - half)) / (2 * half));
        return v < 0.45f ? mix(rgb(255, 246, 200), palette::kGold, v / 0.45f)
                         : mix(palette::kGold, rgb(168, 118, 52), (v - 0.45f) / 0.55f);
    });
}

void paintLine(Canvas& canvas, Fonts& fonts, Face face, int size, const char* text, float cy,
               Colour colour) {
    Lettering style;
    style.face = face;
    style.size = size;
    style.shadowOffset = 2;
    style.shadowRadius = 1;
    style.shadowStrength = 0.8f;
    drawLettering(canvas, fonts, style, text, kWidth * 0.5f, cy,
                  [colour](float, float) { return colour; });
}

// A pointed leaf along the direction `angle`, centred on (cx, cy): the meeting of two discs.
void paintLeaf(Canvas& canvas, float cx, float cy, float angle, float halfLength, float halfWidth) {
    const float bigRadius = (halfLength * halfLength + halfWidth * halfWidth) / (2 * halfWidth);
    const float offset = bigRadius - halfWidth;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const int reach = static_cast<int>(halfLength) + 2;
    canvas.paint(
        static_cast<int>(cx) - reach, static_cast<int>(cy) - reach,
        static_cast<int>(cx) + reach + 1, static_cast<int>(cy) + reach + 1,
        [=](float x, float y) {
            const float along = (x - cx) * c + (y - cy) * s;
            const float across = -(x - cx) * s + (y - cy) * c;
            return std::max(std::hypot(along, across + offset) - bigRadius,
                            std::hypot(along, across - offset) - bigRadius);
        },
        [=](float x, float y) {
            const float along = (x - cx) * c + (y - cy) * s;
            const float across = -(x - cx) * s + (y - cy) * c;
            // One half of the leaf catches the light, the other lies in shade; a fine midrib.
            const float side = across / halfWidth;
            const Colour lightSide = mix(palette::kGoldLight, palette::kGold, clamp01(side + 1));
            const Colour darkSide = mix(palette::kGold, palette::kGoldDark, clamp01(side));
            Colour colour = across < 0 ? lightSide : darkSide;
            const float rib = smoothstep(0.9f, 0.2f, std::fabs(across)) *
                              smoothstep(halfLength, halfLength * 0.4f, std::fabs(along));
            return mix(colour, palette::kGoldDark, rib * 0.6f);
        });
}

// A laurel wreath around (cx, cy): two branches rising from the bottom to near the top.
void paintWreath(Canvas& canvas, float cx, float cy, float radius) {
    constexpr int kLeaves = 11;
    constexpr float kFrom = 102.0f;
    constexpr float kTo = 248.0f;
    for (const float mirror : {1.0f, -1.0f}) {
        // The stem.
        canvas.paint(
            static_cast<int>(cx - radius) - 4, static_cast<int>(cy - radius) - 4,
            static_cast<int>(cx + radius) + 5, static_cast<int>(cy + radius) + 5,
            [=](float x, float y) {
                const float dx = (x - cx) * mirror;
                const float dy = y - cy;
                float angle = std::atan2(dy, dx) / kDegree;
                if (angle < 0)
                    angle += 360.0f;
                if (angle < kFrom || angle > kTo - 6.0f)
                    return 10.0f;
                return std::fabs(std::hypot(dx, dy) - radius) - 1.1f;
            },
            [](float, float) { return palette::kGoldDark; });
        for (int i = 0; i < kLeaves; ++i) {
            const float t = static_cast<float>(i) / (kLeaves - 1);
            const float theta = (kFrom + (kTo - kFrom) * t) * kDegree;
            const float size = 1.0f - 0.4f * t;
            for (const float side : {1.0f, -1.0f}) {
                const float lean = side * 38.0f * kDegree;
                const float px = std::cos(theta) * (radius + side * 8.0f * size);
                const float py = std::sin(theta) * (radius + side * 8.0f * size);
                // The leaf points up the branch, leaning outwards or inwards.
                const float direction = theta + std::numbers::pi_v<float> * 0.5f - lean;
                float dirX = std::cos(direction);
                const float dirY = std::sin(direction);
                dirX *= mirror;
                const float along = 2.0f + 5.0f * size;
                paintLeaf(canvas, cx + mirror * px + dirX * along, cy + py + dirY * along,
                          std::atan2(dirY, dirX), 15.0f * size, 5.5f * size);
            }
        }
    }
    paintDiamond(canvas, cx, cy + radius + 2, 6);
}

// A gold crown with three red stones, laid on the winner's piece.
void paintCrown(Canvas& canvas, float cx, float cy, float size) {
    std::vector<float> outline = {-1.0f,  0.55f,  1.0f,   0.55f,  1.0f,  0.2f,
                                  1.12f,  -0.5f,  0.55f,  -0.02f, 0.0f,  -0.72f,
                                  -0.55f, -0.02f, -1.12f, -0.5f,  -1.0f, 0.2f};
    for (std::size_t i = 0; i < outline.size(); i += 2) {
        outline[i] = cx + outline[i] * size;
        outline[i + 1] = cy + outline[i + 1] * size;
    }
    const float ball = 0.15f * size;
    const auto crown = [=](float x, float y) {
        float d = polygonDistance(x, y, outline);
        d = std::min(d, circleDistance(x, y, cx - 1.12f * size, cy - 0.5f * size, ball));
        d = std::min(d, circleDistance(x, y, cx + 1.12f * size, cy - 0.5f * size, ball));
        d = std::min(d, circleDistance(x, y, cx, cy - 0.72f * size, ball));
        return d;
    };
    const int l = static_cast<int>(cx - 1.4f * size), r = static_cast<int>(cx + 1.4f * size);
    const int t = static_cast<int>(cy - 1.0f * size), b = static_cast<int>(cy + 0.8f * size);
    canvas.shadow(
        l, t, r + 8, b + 8, [=](float x, float y) { return crown(x - 2, y - 3); }, 4, 0.55f);
    canvas.paint(l, t, r, b, crown, [=](float x, float y) {
        const float v = clamp01((y - (cy - 0.8f * size)) / (1.4f * size));
        const float sheen = 0.12f * std::sin((x - cx) / size * 2.6f + 1.0f);
        return lifted(mix(palette::kGoldLight, palette::kGoldDark, v), 255.0f * sheen * (1 - v));
    });
    // A dark line around it and a band across its foot.
    canvas.paint(
        l, t, r, b, [=](float x, float y) { return std::fabs(crown(x, y) + 0.6f) - 0.6f; },
        [](float, float) { return rgb(96, 62, 22); }, 0.8f);
    canvas.paint(
        l, t, r, b,
        [=](float x, float y) {
            return std::max(std::fabs(y - (cy + 0.25f * size)) - 0.7f, crown(x, y) + 1.0f);
        },
        [](float, float) { return rgb(110, 72, 26); }, 0.8f);
    for (const float gx : {-0.55f, 0.0f, 0.55f}) {
        const float sx = cx + gx * size;
        const float sy = cy + 0.4f * size;
        const float radius = 0.1f * size;
        canvas.paint(
            static_cast<int>(sx - radius) - 2, static_cast<int>(sy - radius) - 2,
            static_cast<int>(sx + radius) + 3, static_cast<int>(sy + radius) + 3,
            [=](float x, float y) { return circleDistance(x, y, sx, sy, radius); },
            [=](float x, float y) {
                const float k = clamp01(0.5f - ((x - sx) + (y - sy)) / (2.0f * radius));
                return mix(rgb(120, 12, 24), rgb(255, 120, 120), k * k);
            });
    }
}

// The calm, near-black panel of the save and load screens, behind their lines of text (from
// (200, 300)), the letters (350, 400) and the OK button (360, 430).
void paintPanel(Canvas& canvas) {
    const float l = 176, t = 272, r = 624, b = 494;
    canvas.shadow(
        static_cast<int>(l) - 4, static_cast<int>(t) - 4, static_cast<int>(r) + 12,
        static_cast<int>(b) + 12,
        [=](float x, float y) { return boxDistance(x, y, l + 3, t + 5, r + 3, b + 5, 10); }, 8,
        0.6f);
    canvas.paint(
        static_cast<int>(l) - 2, static_cast<int>(t) - 2, static_cast<int>(r) + 2,
        static_cast<int>(b) + 2,
        [=](float x, float y) { return boxDistance(x, y, l, t, r, b, 10); },
        [=](float, float y) { return mix(rgb(22, 18, 17), rgb(12, 11, 13), (y - t) / (b - t)); });
    canvas.paint(
        static_cast<int>(l) - 2, static_cast<int>(t) - 2, static_cast<int>(r) + 2,
        static_cast<int>(b) + 2,
        [=](float x, float y) {
            return std::fabs(boxDistance(x, y, l, t, r, b, 10) + 1.0f) - 1.0f;
        },
        [=](float, float y) { return mix(palette::kGold, palette::kGoldDark, (y - t) / (b - t)); });
    canvas.paint(
        static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b),
        [=](float x, float y) {
            return std::fabs(boxDistance(x, y, l + 6, t + 6, r - 6, b - 6, 6)) - 0.5f;
        },
        [](float, float) { return palette::kGoldDark; }, 0.6f);
    // A faint rule between the lines of text and the letters.
    canvas.paint(
        220, 370, 580, 376, [](float, float y) { return std::fabs(y - 373.0f) - 0.5f; },
        [](float x, float) {
            return mix(palette::kNight, palette::kGoldDark,
                       smoothstep(0, 120, 180 - std::fabs(x - 400)));
        });
}

Image victoryFrame(Fonts& fonts, PieceKind winner) {
    Canvas canvas(kWidth, kHeight, palette::kNight);
    paintBackdrop(canvas, winner == PieceKind::Ivory ? 901 : 902);
    paintBorder(canvas);
    const bool white = winner == PieceKind::Ivory;
    paintTitle(canvas, fonts,
               white ? "Les blancs ont gagn\xC3\xA9 !" : "Les noirs ont gagn\xC3\xA9 !", 96, 50);
    paintRule(canvas, 146, 190);
    paintWreath(canvas, kWidth * 0.5f, 318, 118);
    paintPiece(canvas, kWidth * 0.5f, 318, 76, winner, true);
    paintCrown(canvas, kWidth * 0.5f, 324, 36);
    paintLine(canvas, fonts, Face::SerifBold, 24,
              white ? "Joueur1 (blanc) remporte la partie" : "Joueur2 (noir) remporte la partie",
              482, palette::kCream);
    paintLine(canvas, fonts, Face::Sans, 14,
              "\xC3\x89"
              "chap : quitter le jeu",
              548, rgb(168, 148, 120));
    return finish(canvas, 0.5f, Quantise::Dithered);
}

Image fileScreenFrame(Fonts& fonts, const char* title, const char* subtitle, std::uint32_t seed) {
    Canvas canvas(kWidth, kHeight, palette::kNight);
    paintBackdrop(canvas, seed);
    paintBorder(canvas);
    paintTitle(canvas, fonts, title, 86, 50);
    paintLine(canvas, fonts, Face::SerifBold, 22, subtitle, 140, rgb(214, 206, 192));
    paintRule(canvas, 176, 170);
    paintPiece(canvas, 376, 222, 22, PieceKind::Ivory, true);
    paintPiece(canvas, 424, 222, 22, PieceKind::Ebony, true);
    paintPanel(canvas);
    return finish(canvas, 0.5f, Quantise::Dithered);
}

}  // namespace

Image makeScreenSheet(Fonts& fonts) {
    Image sheet(kWidth * 4, kHeight);
    sheet.paste(victoryFrame(fonts, PieceKind::Ivory), 0, 0);
    sheet.paste(victoryFrame(fonts, PieceKind::Ebony), kWidth, 0);
    sheet.paste(fileScreenFrame(fonts, "Gorvendal", "Aucun survivant", 903), kWidth * 2, 0);
    sheet.paste(
        fileScreenFrame(fonts, "Charger une partie", "Composez le nom de cinq lettres", 904),
        kWidth * 3, 0);
    return sheet;
}

}  // namespace art
