// The drawing primitives: sprites, the fill, texts and numbers.
#pragma once

#include <cstdint>

#include "platform/platform.h"

bool blitSprite(int x, int y, int width, int height, int frameWidth, int frameHeight, int frame,
                int sheet);
bool clearBackBuffer();
void drawText(int x, int y, plat::Handle surface, const char* text, std::uint32_t textColour,
              std::uint32_t backgroundColour);
void drawNumber(int value, int x, int y, plat::Handle surface, const char* prefix,
                const char* suffix, std::uint32_t textColour, std::uint32_t backgroundColour,
                bool pad);
// The text drawNumber writes (for tests); `out` must hold at least 10,000 bytes.
void formatNumber(char* out, int value, const char* prefix, const char* suffix, bool pad);
