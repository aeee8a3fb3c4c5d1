#include "lettering.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace art {

Fonts::~Fonts() {
    for (auto& entry : open_) {
        TTF_CloseFont(entry.second);
    }
    if (started_) {
        TTF_Quit();
    }
}

std::string Fonts::path(Face face) const {
    switch (face) {
        case Face::Sans:
            return sansFile_;
        case Face::SansBold:
            return folder_ + "DejaVuSans-Bold.ttf";
        case Face::SerifBold:
            return folder_ + "DejaVuSerif-Bold.ttf";
    }
    return sansFile_;
}

bool Fonts::open(const std::string& sansPath) {
    if (TTF_Init() != 0) {
        error_ = std::string("cannot start SDL_ttf: ") + TTF_GetError();
        return false;
    }
    started_ = true;
    sansFile_ = sansPath;
    const std::size_t slash = sansPath.find_last_of('/');
    folder_ = slash == std::string::npos ? std::string() : sansPath.substr(0, slash + 1);
    for (Face face : {Face::Sans, Face::SansBold, Face::SerifBold}) {
        std::FILE* file = std::fopen(path(face).c_str(), "rb");
        if (file == nullptr) {
            error_ = "font not found: " + path(face);
            return false;
        }
        std::fclose(file);
        if (font(face, 12) == nullptr) {
            error_ = "cannot open font " + path(face) + ": " + TTF_GetError();
            return false;
        }
    }
    return true;
}

TTF_Font* Fonts::font(Face face, int size) {
    const auto key = std::make_pair(static_cast<int>(face), size);
    const auto found = open_.find(key);
    if (found != open_.end()) {
        return found->second;
    }
    TTF_Font* opened = TTF_OpenFont(path(face).c_str(), size);
    if (opened != nullptr) {
        open_[key] = opened;
    }
    return opened;
}

TextMask renderText(Fonts& fonts, Face face, int size, const char* utf8) {
    TextMask mask;
    TTF_Font* font = fonts.font(face, size);
    if (font == nullptr) {
        return mask;
    }
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, utf8, SDL_Color{255, 255, 255, 255});
    if (rendered == nullptr) {
        return mask;
    }
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(rendered);
    if (surface == nullptr) {
        return mask;
    }
    mask.width = surface->w;
    mask.height = surface->h;
    mask.alpha.resize(static_cast<std::size_t>(mask.width) * mask.height);
    const auto* bytes = static_cast<const std::uint8_t*>(surface->pixels);
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const std::uint8_t a = bytes[y * surface->pitch + x * 4 + 3];
            mask.alpha[static_cast<std::size_t>(y) * mask.width + x] = a / 255.0f;
        }
    }
    SDL_FreeSurface(surface);

    int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
    TTF_GlyphMetrics(font, 'H', &minX, &maxX, &minY, &maxY, &advance);
    mask.capMiddle = static_cast<float>(TTF_FontAscent(font)) - maxY * 0.5f;
    return mask;
}

int textWidth(Fonts& fonts, Face face, int size, const char* utf8) {
    TTF_Font* font = fonts.font(face, size);
    int w = 0, h = 0;
    if (font == nullptr || TTF_SizeUTF8(font, utf8, &w, &h) != 0) {
        return 0;
    }
    return w;
}

namespace {

// One box-blur pass along rows (horizontal) or columns, into a mask grown by `radius`.
TextMask boxPass(const TextMask& in, int radius, bool horizontal) {
    TextMask out;
    out.width = in.width + (horizontal ? 2 * radius : 0);
    out.height = in.height + (horizontal ? 0 : 2 * radius);
    out.capMiddle = in.capMiddle + (horizontal ? 0.0f : static_cast<float>(radius));
    out.alpha.assign(static_cast<std::size_t>(out.width) * out.height, 0.0f);
    const float weight = 1.0f / static_cast<float>(2 * radius + 1);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            float sum = 0;
            for (int k = -radius; k <= radius; ++k) {
                const int sx = horizontal ? x - radius + k : x;
                const int sy = horizontal ? y : y - radius + k;
                if (sx >= 0 && sy >= 0 && sx < in.width && sy < in.height) {
                    sum += in.at(sx, sy);
                }
            }
            out.alpha[static_cast<std::size_t>(y) * out.width + x] = sum * weight;
        }
    }
    return out;
}

}  // namespace

TextMask spread(const TextMask& mask, int radius) {
    if (radius <= 0) {
        return mask;
    }
    TextMask result = mask;
    for (int pass = 0; pass < 2; ++pass) {
        result = boxPass(result, radius, true);
        result = boxPass(result, radius, false);
    }
    return result;
}

TextMask squeezed(const TextMask& mask, int width) {
    if (width <= 0 || mask.width <= width) {
        return mask;
    }
    TextMask out;
    out.width = width;
    out.height = mask.height;
    out.capMiddle = mask.capMiddle;
    out.alpha.assign(static_cast<std::size_t>(out.width) * out.height, 0.0f);
    const float ratio = static_cast<float>(mask.width) / static_cast<float>(width);
    for (int x = 0; x < width; ++x) {
        const float from = x * ratio;
        const float to = from + ratio;
        for (int sx = static_cast<int>(from); sx < mask.width && sx < to; ++sx) {
            const float overlap = std::min(to, sx + 1.0f) - std::max(from, static_cast<float>(sx));
            if (overlap <= 0.0f) {
                continue;
            }
            for (int y = 0; y < mask.height; ++y) {
                out.alpha[static_cast<std::size_t>(y) * width + x] +=
                    mask.at(sx, y) * overlap / ratio;
            }
        }
    }
    return out;
}

void drawMask(Canvas& canvas, const TextMask& mask, int x, int y, const Shade& shade,
              float opacity) {
    for (int row = 0; row < mask.height; ++row) {
        for (int col = 0; col < mask.width; ++col) {
            const float a = mask.at(col, row) * opacity;
            if (a > 0.0f) {
                const int px = x + col;
                const int py = y + row;
                canvas.blend(px, py, shade(px + 0.5f, py + 0.5f), a);
            }
        }
    }
}

int centredLeft(const TextMask& mask, float cx) {
    return static_cast<int>(std::lround(cx - mask.width * 0.5f));
}

int centredTop(const TextMask& mask, float cy) {
    return static_cast<int>(std::lround(cy - mask.capMiddle));
}

void drawLettering(Canvas& canvas, Fonts& fonts, const Lettering& style, const char* utf8, float cx,
                   float cy, const Shade& shade) {
    const TextMask letters =
        squeezed(renderText(fonts, style.face, style.size, utf8), style.maxWidth);
    if (letters.width == 0) {
        return;
    }
    const int left = centredLeft(letters, cx);
    const int top = centredTop(letters, cy);
    if (style.glowRadius > 0 && style.glowStrength > 0.0f) {
        const TextMask glow = spread(letters, style.glowRadius);
        const Colour glowColour = style.glowColour;
        drawMask(
            canvas, glow, left - 2 * style.glowRadius, top - 2 * style.glowRadius,
            [glowColour](float, float) { return glowColour; }, style.glowStrength);
    }
    if (style.shadowStrength > 0.0f) {
        const TextMask shade2 = spread(letters, style.shadowRadius);
        const int offset = static_cast<int>(std::lround(style.shadowOffset));
        drawMask(
            canvas, shade2, left - 2 * style.shadowRadius + offset,
            top - 2 * style.shadowRadius + offset,
            [](float, float) {
                return Colour{8, 5, 4};
            },
            style.shadowStrength);
    }
    drawMask(canvas, letters, left, top, shade);
}

}  // namespace art
