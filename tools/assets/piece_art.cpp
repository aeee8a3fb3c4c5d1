// The pieces: an ivory one and an ebony one, 38 x 38 each, round and turned like draughts men:
// a raised bead around the edge, a shallow dish in the middle where the game writes the
// piece's level, light from the top left. Outside the piece the frame is pure black
// (transparent), except for a soft shadow cast to the bottom right onto the oak.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "artwork.h"

namespace art {

namespace {

struct Material {
    Colour base;
    Colour floor;  // no shown pixel is darker than this
    float ambient;
    float diffuse;
    float specular;
    float shininess;
    float grain;  // strength of the material's streaks
    Colour outline;
};

Material material(PieceKind kind) {
    if (kind == PieceKind::Ivory) {
        return {rgb(232, 220, 190), rgb(96, 80, 58), 0.47f, 0.82f, 0.30f, 18.0f, 0.025f,
                rgb(112, 90, 60)};
    }
    return {rgb(62, 52, 52), rgb(30, 28, 34), 0.45f, 0.80f, 0.50f, 26.0f, 0.08f, rgb(30, 28, 34)};
}

// Height of the piece's surface at distance d from its centre, in units of the radius: a
// shallow dish in the middle, a fine groove around it, then a bead that rises gently from
// the dish and falls steeply at the edge.
float surfaceHeight(float d, float grooveWidth) {
    float h = 0.05f * d * d;
    constexpr float kCrest = 0.84f;
    if (d < kCrest) {
        const float t = (kCrest - d) / 0.15f;
        if (t < 1.0f) {
            h += 0.16f * (0.5f + 0.5f * std::cos(std::numbers::pi_v<float> * t));
        }
    } else {
        const float t = std::min((d - kCrest) / 0.17f, 1.0f);
        h += 0.16f * std::sqrt(1.0f - t * t);
    }
    h -= 0.012f * std::exp(-std::pow((d - 0.685f) / grooveWidth, 2.0f));
    return h;
}

struct Vec3 {
    float x, y, z;
};

Vec3 normalised(Vec3 v) {
    const float n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
}

float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The shade of the piece at (u, v), in units of its radius from its centre; `grooveWidth`
// keeps the groove at least about a pixel wide on small pieces.
Colour shadePiece(const Material& m, float u, float v, float grooveWidth) {
    const float d = std::max(std::hypot(u, v), 1e-4f);
    const float eps = 0.01f;
    const float slope = std::clamp(
        (surfaceHeight(d + eps, grooveWidth) - surfaceHeight(d - eps, grooveWidth)) / (2 * eps),
        -4.0f, 4.0f);
    const Vec3 normal = normalised({-slope * u / d, -slope * v / d, 1.0f});
    const Vec3 light = normalised({-0.55f, -0.65f, 0.75f});
    const Vec3 half = normalised({light.x, light.y, light.z + 1.0f});

    const float diffuse = std::max(0.0f, dot(normal, light));
    const float specular = std::pow(std::max(0.0f, dot(normal, half)), m.shininess);
    // The whole disc is a little brighter towards the light.
    const float tilt = 1.0f + 0.07f * (-u - v) * 0.5f;
    // Streaks in the material, quieter in the middle where the level is written.
    const float streak = 1.0f + m.grain * smoothNoise(u * 2.0f + 5.0f, v * 9.0f + 3.0f, 71) *
                                    smoothstep(0.3f, 0.7f, d);

    Colour c = scaled(m.base, (m.ambient + m.diffuse * diffuse) * tilt * streak);
    c = lifted(c, 255.0f * m.specular * specular);
    c.r = std::max(c.r, m.floor.r);
    c.g = std::max(c.g, m.floor.g);
    c.b = std::max(c.b, m.floor.b);
    return c;
}

constexpr int kFrame = 38;

Image pieceFrame(PieceKind kind) {
    Canvas frame(kFrame, kFrame, palette::kOak);
    paintPiece(frame, 18.4f, 18.4f, 16.7f, kind, true);
    return finish(frame, 0.4f);
}

}  // namespace

void paintPiece(Canvas& canvas, float cx, float cy, float radius, PieceKind kind, bool castShadow) {
    const Material m = material(kind);
    const float grooveWidth = std::max(0.02f, 0.6f / radius);
    const int left = static_cast<int>(std::floor(cx - radius - 2));
    const int top = static_cast<int>(std::floor(cy - radius - 2));
    const int right = static_cast<int>(std::ceil(cx + radius + 2));
    const int bottom = static_cast<int>(std::ceil(cy + radius + 2));
    if (castShadow) {
        const float offset = std::max(1.2f, radius * 0.08f);
        const float softness = std::max(2.5f, radius * 0.12f);
        const auto pad = static_cast<int>(std::ceil(offset + softness + 1));
        canvas.shadow(
            left, top, right + pad, bottom + pad,
            [=](float x, float y) {
                return circleDistance(x, y, cx + offset, cy + offset * 1.3f, radius);
            },
            softness, 0.5f);
    }
    canvas.paint(
        left, top, right, bottom,
        [=](float x, float y) { return circleDistance(x, y, cx, cy, radius); },
        [=](float x, float y) {
            return shadePiece(m, (x - cx) / radius, (y - cy) / radius, grooveWidth);
        });
    // A fine outline so that the piece stands clear of the board.
    const float width = std::max(1.0f, radius * 0.04f);
    canvas.paint(
        left, top, right, bottom,
        [=](float x, float y) {
            return std::fabs(circleDistance(x, y, cx, cy, radius - width * 0.5f)) - width * 0.5f;
        },
        [=](float, float) { return m.outline; }, 0.55f);
}

Image makePieceSheet() {
    Image sheet(kFrame * 2, kFrame);
    sheet.paste(pieceFrame(PieceKind::Ivory), 0, 0);
    sheet.paste(pieceFrame(PieceKind::Ebony), kFrame, 0);
    return sheet;
}

}  // namespace art
