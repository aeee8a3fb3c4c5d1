// Writes pictures as the game reads them: Windows BMP files, 24 bits per pixel, uncompressed,
// rows stored from the bottom up, each padded to a multiple of four bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace art {

// The whole file's bytes for a picture.
std::vector<std::uint8_t> encodeBmp(const Image& image);

}  // namespace art
