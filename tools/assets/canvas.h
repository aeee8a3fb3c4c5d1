// The painting surface of the artwork generator: a floating-point RGB canvas that also records,
// for every pixel, how much of it has been painted (its cover). Shapes are given as signed
// distance functions and painted with antialiased edges; a finished canvas becomes a 24-bit
// picture in which unpainted pixels are pure black, the colour the game treats as transparent.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace art {

struct Colour {
    float r = 0;
    float g = 0;
    float b = 0;
};

Colour rgb(int r, int g, int b);
Colour mix(Colour a, Colour b, float t);
Colour scaled(Colour c, float k);
Colour lifted(Colour c, float amount);  // adds the same amount to every channel
float clamp01(float v);
float smoothstep(float edge0, float edge1, float x);

// A pixel position inside a shape function: the centre of pixel (x, y) is (x + 0.5, y + 0.5).
using Distance = std::function<float(float x, float y)>;
using Shade = std::function<Colour(float x, float y)>;

float circleDistance(float x, float y, float cx, float cy, float radius);
// Distance to a closed polygon given as x, y pairs (negative inside).
float polygonDistance(float x, float y, const std::vector<float>& points);
float boxDistance(float x, float y, float left, float top, float right, float bottom,
                  float cornerRadius);

class Canvas {
  public:
    // A canvas whose pixels hold `backdrop` but count as unpainted (cover 0). The backdrop is
    // the colour the picture is expected to lie on, so that antialiased edges blend into it.
    Canvas(int width, int height, Colour backdrop);

    int width() const { return width_; }
    int height() const { return height_; }
    Colour pixel(int x, int y) const { return pixels_[index(x, y)]; }
    float cover(int x, int y) const { return cover_[index(x, y)]; }

    // Lays `colour` over pixel (x, y) with opacity `alpha`; the pixel's cover grows by
    // `coverAlpha` in the same way. Pixels off the canvas are ignored.
    void blend(int x, int y, Colour colour, float alpha, float coverAlpha);
    void blend(int x, int y, Colour colour, float alpha) { blend(x, y, colour, alpha, alpha); }
    void set(int x, int y, Colour colour);  // opaque

    // Fills the whole canvas opaquely with a colour computed per pixel.
    void fill(const Shade& shade);
    // Paints the pixels of the box [left, right) x [top, bottom) where `distance` is negative,
    // with edges antialiased over one pixel and the colour `shade` gives.
    void paint(int left, int top, int right, int bottom, const Distance& distance,
               const Shade& shade, float opacity = 1.0f);
    // Paints a soft shadow: `distance` fades the darkening over `softness` pixels outside the
    // shape. The shadowed pixels count as fully painted, so that the shadow is kept.
    void shadow(int left, int top, int right, int bottom, const Distance& distance, float softness,
                float strength);

  private:
    int index(int x, int y) const { return y * width_ + x; }

    int width_;
    int height_;
    std::vector<Colour> pixels_;
    std::vector<float> cover_;
};

// A finished 24-bit picture, rows from the top, three bytes per pixel in R, G, B order.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3, 0) {}
    // Copies `frame` with its top-left corner at (x, y).
    void paste(const Image& frame, int x, int y);
};

// How a canvas's colours are brought down to the game's 16-bit RGB565 pixels.
enum class Quantise {
    Plain,     // kept as they are; the game's conversion cuts them down
    Dithered,  // spread over the nearest RGB565 levels with an ordered dither, so that wide,
               // dark gradients show no bands (for pictures that are not stretched)
};

// Turns a canvas into a picture: pixels whose cover is below `threshold` become pure black
// (transparent in the game); every other pixel keeps its colour, lifted where needed so that
// no shown pixel turns into the transparent value once converted to 16-bit RGB565.
Image finish(const Canvas& canvas, float threshold = 0.5f, Quantise quantise = Quantise::Plain);

// True when the colour is the transparent value after the game's RGB565 conversion.
bool isTransparent565(std::uint8_t r, std::uint8_t g, std::uint8_t b);

// Deterministic noise for textures: a value in [-1, 1] per lattice point, and a smooth
// interpolation of it between points.
float latticeNoise(int x, int y, std::uint32_t seed);
float smoothNoise(float x, float y, std::uint32_t seed);

}  // namespace art
