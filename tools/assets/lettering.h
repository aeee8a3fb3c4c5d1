// Text for the artwork: the DejaVu faces opened through SDL_ttf, words rendered as coverage
// masks, and those masks laid onto a canvas in any shading, with soft shadows and glows.
#pragma once

#include <SDL_ttf.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "canvas.h"

namespace art {

enum class Face { Sans, SansBold, SerifBold };

class Fonts {
  public:
    Fonts() = default;
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;
    ~Fonts();

    // Starts SDL_ttf and checks that every face can be opened. `sansPath` is the regular face;
    // the others are its siblings in the same folder. False, with the reason in error(), when
    // a face is missing or unreadable.
    bool open(const std::string& sansPath);
    const std::string& error() const { return error_; }

    // The face at a pixel size, opened on first use. Null only if open() failed.
    TTF_Font* font(Face face, int size);

  private:
    std::string path(Face face) const;

    bool started_ = false;
    std::string folder_;
    std::string sansFile_;
    std::string error_;
    std::map<std::pair<int, int>, TTF_Font*> open_;
};

// A word's coverage, 0 to 1 per pixel, with the line's vertical metrics.
struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<float> alpha;
    float capMiddle = 0;  // y of the middle of the capital letters, from the mask's top

    float at(int x, int y) const { return alpha[static_cast<std::size_t>(y) * width + x]; }
};

// Renders UTF-8 text. An empty mask when the text cannot be rendered.
TextMask renderText(Fonts& fonts, Face face, int size, const char* utf8);
// Width in pixels of the text at that face and size.
int textWidth(Fonts& fonts, Face face, int size, const char* utf8);
// The mask blurred by two box passes of `radius`: it grows by 2 * radius on every side.
TextMask spread(const TextMask& mask, int radius);

// The mask narrowed to `width` pixels (each new column averages the stretch of old ones it
// covers); unchanged when it is no wider than that already.
TextMask squeezed(const TextMask& mask, int width);

// Lays the mask onto the canvas with its top-left corner at (x, y).
void drawMask(Canvas& canvas, const TextMask& mask, int x, int y, const Shade& shade,
              float opacity = 1.0f);

// Where to put a mask so that it is centred on cx and its capitals are centred on cy.
int centredLeft(const TextMask& mask, float cx);
int centredTop(const TextMask& mask, float cy);

// A title or label: centred on (cx, cy), with a soft drop shadow, an optional glow of
// `glowColour` behind it, and the letters in `shade`.
struct Lettering {
    Face face = Face::SerifBold;
    int size = 16;
    float shadowOffset = 1.5f;
    int shadowRadius = 1;
    float shadowStrength = 0.8f;
    int glowRadius = 0;
    float glowStrength = 0.0f;
    Colour glowColour{};
    int maxWidth = 0;  // when set, a wider text is narrowed to it
};
void drawLettering(Canvas& canvas, Fonts& fonts, const Lettering& style, const char* utf8, float cx,
                   float cy, const Shade& shade);

}  // namespace art
