// The display mode, the flipping pair of surfaces and the seven sprite sheets.
#pragma once

#include <cstdint>

#include "platform/platform.h"

enum SpriteId : int {
    SPRITE_CURSOR = 1,
    SPRITE_GRID = 2,
    SPRITE_PAWN = 3,
    SPRITE_SCREENS = 4,
    SPRITE_MENU = 5,
    SPRITE_OK = 6,
    SPRITE_LETTERS = 7,
};

inline constexpr std::uint32_t colourKey = 0;

struct SpriteSheet {
    const char* file;
    int width;
    int height;
};
// Indexed by SpriteId; entry 0 unused.
extern const SpriteSheet spriteSheets[8];

bool setUpDisplayMode();
bool setUpSurfaces();
bool loadBitmapIntoSurface(plat::Handle surface, const char* path);
bool presentFrame(plat::Handle window);
