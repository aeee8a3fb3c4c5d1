#include "display/draw.h"

#include <cstdio>
#include <cstring>

#include "display/sprites.h"
#include "shell/app.h"

bool blitSprite(int x, int y, int width, int height, int frameWidth, int frameHeight, int frame,
                int sheet) {
    // Once a fatal error has released the surfaces, drawing does nothing.
    if (backBuffer == plat::kNoHandle || sheet < SPRITE_CURSOR || sheet > SPRITE_LETTERS) {
        return false;
    }
    const plat::Rect destination{x, y, x + width, y + height};
    const plat::Rect source{frameWidth * (frame - 1), 0, frameWidth * frame, frameHeight};
    if (!plat::blit(backBuffer, &destination, sheets[sheet], &source, true)) {
        return fatalError(mainWindow, "Impossible d'ex\xE9" "cuter Blt.\n");
    }
    return true;
}

bool clearBackBuffer() {
    if (backBuffer == plat::kNoHandle) {
        return false;
    }
    if (!plat::colourFill(backBuffer, colourKey)) {
        return fatalError(mainWindow, "Impossible d'ex\xE9" "cuter Blt.\n");
    }
    return true;
}

void drawText(int x, int y, plat::Handle surface, const char* text, std::uint32_t textColour,
              std::uint32_t backgroundColour) {
    if (!plat::getSurfaceDc(surface)) {
        return;
    }
    plat::textOut(surface, x, y, text, textColour, backgroundColour);
    plat::releaseSurfaceDc(surface);
}

namespace {

// The leading zeros that make every value from 0 to 9999 five digits wide; negative values
// fall in the first column and get four.
const char* zerosFor(int value) {
    if (value < 10) {
        return "0000";
    }
    if (value < 100) {
        return "000";
    }
    if (value < 1000) {
        return "00";
    }
    if (value < 10000) {
        return "0";
    }
    return "";
}

}  // namespace

void formatNumber(char* out, int value, const char* prefix, const char* suffix, bool pad) {
    constexpr std::size_t kSize = 10000;
    std::memset(out, 0, kSize);
    const char* zeros = pad ? zerosFor(value) : "";
    const bool hasPrefix = prefix != nullptr && prefix[0] != '\0';
    const bool hasSuffix = suffix != nullptr && suffix[0] != '\0';
    if (hasPrefix && hasSuffix) {
        std::snprintf(out, kSize, "%s %s%d %s", prefix, zeros, value, suffix);
    } else if (hasSuffix) {
        std::snprintf(out, kSize, "%s%d %s", zeros, value, suffix);
    } else if (hasPrefix) {
        std::snprintf(out, kSize, "%s %s%d", prefix, zeros, value);
    } else {
        std::snprintf(out, kSize, "%s%d", zeros, value);
    }
}

void drawNumber(int value, int x, int y, plat::Handle surface, const char* prefix,
                const char* suffix, std::uint32_t textColour, std::uint32_t backgroundColour,
                bool pad) {
    if (!plat::getSurfaceDc(surface)) {
        return;
    }
    static char buffer[10000];
    formatNumber(buffer, value, prefix, suffix, pad);
    plat::textOut(surface, x, y, buffer, textColour, backgroundColour);
    plat::releaseSurfaceDc(surface);
}
