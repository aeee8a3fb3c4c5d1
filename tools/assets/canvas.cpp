#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace art {

Colour rgb(int r, int g, int b) {
    return {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}

Colour mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scaled(Colour c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}

Colour lifted(Colour c, float amount) {
    return {c.r + amount, c.g + amount, c.b + amount};
}

float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

float smoothstep(float edge0, float edge1, float x) {
    const float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float circleDistance(float x, float y, float cx, float cy, float radius) {
    return std::hypot(x - cx, y - cy) - radius;
}

float boxDistance(float x, float y, float left, float top, float right, float bottom,
                  float cornerRadius) {
    // Distance to a rectangle with rounded corners: shrink the box by the radius, measure the
    // distance to that inner box, then take the radius off again.
    const float cx = (left + right) * 0.5f;
    const float cy = (top + bottom) * 0.5f;
    const float hx = (right - left) * 0.5f - cornerRadius;
    const float hy = (bottom - top) * 0.5f - cornerRadius;
    const float qx = std::fabs(x - cx) - hx;
    const float qy = std::fabs(y - cy) - hy;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    const float inside = std::min(std::max(qx, qy), 0.0f);
    return outside + inside - cornerRadius;
}

float polygonDistance(float x, float y, const std::vector<float>& points) {
    // The nearest edge gives the distance; the crossings of a ray give the side.
    const std::size_t n = points.size() / 2;
    float best = 1e30f;
    bool inside = false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const float ax = points[2 * j], ay = points[2 * j + 1];
        const float bx = points[2 * i], by = points[2 * i + 1];
        const float ex = bx - ax, ey = by - ay;
        const float wx = x - ax, wy = y - ay;
        const float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
        best = std::min(best, std::hypot(wx - ex * t, wy - ey * t));
        if ((ay > y) != (by > y) && x < ax + (y - ay) * ex / ey) {
            inside = !inside;
        }
    }
    return inside ? -best : best;
}

Canvas::Canvas(int width, int height, Colour backdrop)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * height, backdrop),
      cover_(static_cast<std::size_t>(width) * height, 0.0f) {}

void Canvas::blend(int x, int y, Colour colour, float alpha, float coverAlpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    Colour& p = pixels_[index(x, y)];
    p = mix(p, colour, clamp01(alpha));
    float& c = cover_[index(x, y)];
    c = c + clamp01(coverAlpha) * (1.0f - c);
}

void Canvas::set(int x, int y, Colour colour) {
    blend(x, y, colour, 1.0f, 1.0f);
}

void Canvas::fill(const Shade& shade) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            set(x, y, shade(x + 0.5f, y + 0.5f));
        }
    }
}

void Canvas::paint(int left, int top, int right, int bottom, const Distance& distance,
                   const Shade& shade, float opacity) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const float px = x + 0.5f;
            const float py = y + 0.5f;
            const float coverage = clamp01(0.5f - distance(px, py));
            if (coverage > 0.0f) {
                blend(x, y, shade(px, py), coverage * opacity);
            }
        }
    }
}

void Canvas::shadow(int left, int top, int right, int bottom, const Distance& distance,
                    float softness, float strength) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const float d = distance(x + 0.5f, y + 0.5f);
            const float darkness = 1.0f - smoothstep(-softness * 0.5f, softness, d);
            if (darkness > 0.02f) {
                blend(x, y, Colour{0, 0, 0}, darkness * strength, 1.0f);
            }
        }
    }
}

void Image::paste(const Image& frame, int x, int y) {
    for (int row = 0; row < frame.height; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= height) {
            continue;
        }
        for (int col = 0; col < frame.width; ++col) {
            const int tx = x + col;
            if (tx < 0 || tx >= width) {
                continue;
            }
            std::memcpy(&rgb[(static_cast<std::size_t>(ty) * width + tx) * 3],
                        &frame.rgb[(static_cast<std::size_t>(row) * frame.width + col) * 3], 3);
        }
    }
}

bool isTransparent565(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (r >> 3) == 0 && (g >> 2) == 0 && (b >> 3) == 0;
}

namespace {

std::uint8_t toByte(float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

// The 4 x 4 ordered-dither thresholds, 0 to 15.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// One channel brought to one of the levels of `bits` bits, written as the middle of that
// level's range of 8-bit values, so that the game's conversion finds exactly that level.
std::uint8_t ditherChannel(float v, int bits, float threshold) {
    const int step = 1 << (8 - bits);
    const int top = (1 << bits) - 1;
    const int level = std::clamp(static_cast<int>(std::floor(v / step + threshold)), 0, top);
    return static_cast<std::uint8_t>(level * step + step / 2);
}

}  // namespace

Image finish(const Canvas& canvas, float threshold, Quantise quantise) {
    Image image(canvas.width(), canvas.height());
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            std::uint8_t* out = &image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3];
            if (canvas.cover(x, y) < threshold) {
                out[0] = out[1] = out[2] = 0;
                continue;
            }
            const Colour c = canvas.pixel(x, y);
            if (quantise == Quantise::Dithered) {
                const float t = (kBayer[y & 3][x & 3] + 0.5f) / 16.0f;
                out[0] = ditherChannel(c.r, 5, t);
                out[1] = ditherChannel(c.g, 6, t);
                out[2] = ditherChannel(c.b, 5, t);
            } else {
                out[0] = toByte(c.r);
                out[1] = toByte(c.g);
                out[2] = toByte(c.b);
            }
            if (isTransparent565(out[0], out[1], out[2])) {
                // The darkest colour shown anywhere: near-black, yet visible.
                out[0] = std::max<std::uint8_t>(out[0], 10);
                out[1] = std::max<std::uint8_t>(out[1], 10);
                out[2] = std::max<std::uint8_t>(out[2], 14);
            }
        }
    }
    return image;
}

float latticeNoise(int x, int y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFFu) / static_cast<float>(0xFFFFFF) * 2.0f - 1.0f;
}

float smoothNoise(float x, float y, std::uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = smoothstep(0.0f, 1.0f, x - fx);
    const float ty = smoothstep(0.0f, 1.0f, y - fy);
    const float top = latticeNoise(ix, iy, seed) +
                      (latticeNoise(ix + 1, iy, seed) - latticeNoise(ix, iy, seed)) * tx;
    const float bottom = latticeNoise(ix, iy + 1, seed) +
                         (latticeNoise(ix + 1, iy + 1, seed) - latticeNoise(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

}  // namespace art
