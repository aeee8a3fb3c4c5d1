// Text on a surface: the game's Windows-1252 strings rendered with SDL2_ttf in DejaVu Sans,
// opaque (the whole box of the text filled with the background colour, the glyphs smoothed
// into it), converted to RGB565 and copied onto the surface.
//
// A frame writes up to 300 small numbers (each piece's level), mostly the same few strings in
// the same colours, so rendered strings are kept: the second time a text is asked for in the
// same colours it is only copied.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/objects.h"

namespace plat {

namespace {

// DejaVu Sans at 12 points is 14 pixels high: the game's lines, 15 pixels apart, do not
// overlap.
constexpr int kFontPointSize = 12;
// Beyond this many different strings the cache is emptied and starts again.
constexpr std::size_t kMaxCachedTexts = 1024;

struct RenderedText {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> pixels;
};

struct TextState {
    bool triedFont = false;
    TTF_Font* font = nullptr;
    std::unordered_map<std::string, RenderedText> cache;

    ~TextState() {
        if (font != nullptr) {
            TTF_CloseFont(font);
        }
        if (triedFont && TTF_WasInit() != 0) {
            TTF_Quit();
        }
    }
};

TextState& textState() {
    static TextState state;
    return state;
}

TTF_Font* gameFont() {
    TextState& state = textState();
    if (!state.triedFont) {
        state.triedFont = true;
        if (TTF_Init() == 0) {
            state.font = TTF_OpenFont(GORVENDAL_FONT, kFontPointSize);
        }
    }
    return state.font;
}

SDL_Color sdlColour(std::uint32_t colour) {
    return SDL_Color{static_cast<Uint8>(colour & 0xFF), static_cast<Uint8>((colour >> 8) & 0xFF),
                     static_cast<Uint8>((colour >> 16) & 0xFF), 255};
}

// Renders a text; an empty result when the font is missing or the text draws nothing.
RenderedText render(TTF_Font* font, const std::string& utf8, std::uint32_t textColour,
                    std::uint32_t backgroundColour) {
    RenderedText result;
    SDL_Surface* shaded = TTF_RenderUTF8_Shaded(font, utf8.c_str(), sdlColour(textColour),
                                                sdlColour(backgroundColour));
    if (shaded == nullptr) {
        return result;
    }
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(shaded, SDL_PIXELFORMAT_RGB565, 0);
    SDL_FreeSurface(shaded);
    if (converted == nullptr) {
        return result;
    }
    result.width = converted->w;
    result.height = converted->h;
    result.pixels.resize(static_cast<std::size_t>(converted->w) *
                         static_cast<std::size_t>(converted->h));
    if (SDL_LockSurface(converted) == 0) {
        for (int row = 0; row < converted->h; ++row) {
            std::memcpy(result.pixels.data() + static_cast<std::size_t>(row) * converted->w,
                        static_cast<const std::uint8_t*>(converted->pixels) +
                            static_cast<std::size_t>(row) * converted->pitch,
                        static_cast<std::size_t>(converted->w) * sizeof(std::uint16_t));
        }
        SDL_UnlockSurface(converted);
    }
    SDL_FreeSurface(converted);
    return result;
}

const RenderedText& renderedText(TTF_Font* font, const char* text, std::uint32_t textColour,
                                 std::uint32_t backgroundColour) {
    TextState& state = textState();
    std::string key(text);
    key.push_back('\0');
    key.append(reinterpret_cast<const char*>(&textColour), sizeof textColour);
    key.append(reinterpret_cast<const char*>(&backgroundColour), sizeof backgroundColour);
    const auto found = state.cache.find(key);
    if (found != state.cache.end()) {
        return found->second;
    }
    if (state.cache.size() >= kMaxCachedTexts) {
        state.cache.clear();
    }
    RenderedText rendered =
        render(font, detail::windows1252ToUtf8(text), textColour, backgroundColour);
    return state.cache.emplace(std::move(key), std::move(rendered)).first->second;
}

}  // namespace

namespace detail {

void resetTextCache() {
    textState().cache.clear();
}

}  // namespace detail

void textOut(Handle surface, int x, int y, const char* text, std::uint32_t textColour,
             std::uint32_t backgroundColour) {
    detail::SurfaceObject* target = detail::find<detail::SurfaceObject>(surface);
    if (target == nullptr || !target->dcHeld || text == nullptr || text[0] == '\0') {
        return;
    }
    TTF_Font* font = gameFont();
    if (font == nullptr) {
        return;
    }
    const RenderedText& rendered = renderedText(font, text, textColour, backgroundColour);
    // Clipped to the surface, in 64 bits so that no position overflows.
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right =
        std::min<std::int64_t>(static_cast<std::int64_t>(x) + rendered.width, target->width);
    const std::int64_t bottom =
        std::min<std::int64_t>(static_cast<std::int64_t>(y) + rendered.height, target->height);
    if (left >= right || top >= bottom) {
        return;
    }
    for (std::int64_t row = top; row < bottom; ++row) {
        const std::uint16_t* from =
            rendered.pixels.data() + (row - y) * rendered.width + (left - x);
        std::copy(from, from + (right - left), target->pixels.data() + row * target->width + left);
    }
}

}  // namespace plat
