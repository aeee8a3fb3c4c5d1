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
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/blitter.h"
#include "platform/objects.h"
#include "platform/text_cache.h"

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

// A text in its two colours: what a rendered picture is kept under. Looked up with a view of the
// game's own bytes, so that no key is built for a text that is already there.
struct TextKey {
    std::string text;
    std::uint32_t textColour = 0;
    std::uint32_t backgroundColour = 0;
};

struct TextKeyView {
    std::string_view text;
    std::uint32_t textColour = 0;
    std::uint32_t backgroundColour = 0;
};

struct TextKeyHash {
    using is_transparent = void;
    // FNV-1a over the bytes and both colours: the texts are short.
    std::size_t operator()(const TextKeyView& key) const {
        std::uint64_t hash = 0xCBF29CE484222325ULL;
        const auto mix = [&hash](std::uint64_t byte) { hash = (hash ^ byte) * 0x100000001B3ULL; };
        for (const char c : key.text) {
            mix(static_cast<unsigned char>(c));
        }
        mix(key.textColour);
        mix(key.backgroundColour);
        return static_cast<std::size_t>(hash);
    }
    std::size_t operator()(const TextKey& key) const {
        return (*this)(TextKeyView{key.text, key.textColour, key.backgroundColour});
    }
};

struct TextKeyEqual {
    using is_transparent = void;
    static TextKeyView view(const TextKey& key) {
        return {key.text, key.textColour, key.backgroundColour};
    }
    static TextKeyView view(const TextKeyView& key) { return key; }
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
        const TextKeyView left = view(a);
        const TextKeyView right = view(b);
        return left.textColour == right.textColour &&
               left.backgroundColour == right.backgroundColour && left.text == right.text;
    }
};

struct TextState {
    bool triedFont = false;
    TTF_Font* font = nullptr;
    std::unordered_map<TextKey, RenderedText, TextKeyHash, TextKeyEqual> cache;
    bool cacheEnabled = true;
    // The last text rendered while the cache is off.
    RenderedText uncached;

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
    if (!state.cacheEnabled) {
        state.uncached =
            render(font, detail::windows1252ToUtf8(text), textColour, backgroundColour);
        return state.uncached;
    }
    const TextKeyView key{text, textColour, backgroundColour};
    const auto found = state.cache.find(key);
    if (found != state.cache.end()) {
        return found->second;
    }
    if (state.cache.size() >= kMaxCachedTexts) {
        state.cache.clear();
    }
    RenderedText rendered =
        render(font, detail::windows1252ToUtf8(text), textColour, backgroundColour);
    return state.cache
        .emplace(TextKey{std::string(key.text), textColour, backgroundColour}, std::move(rendered))
        .first->second;
}

}  // namespace

namespace detail {

void resetTextCache() {
    textState().cache.clear();
}

void setTextCacheEnabled(bool enabled) {
    textState().cacheEnabled = enabled;
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
    if (rendered.width <= 0 || rendered.height <= 0) {
        return;
    }
    // Copied as an unkeyed blit of the same size: clipped to the surface (in 64 bits, so that no
    // position overflows), short rows copied without a call.
    const std::int64_t left = x;
    const std::int64_t top = y;
    detail::stretchCopy({target->pixels.data(), target->width, target->height},
                        {left, top, left + rendered.width, top + rendered.height},
                        {rendered.pixels.data(), rendered.width},
                        {0, 0, rendered.width, rendered.height}, false, 0);
}

}  // namespace plat
