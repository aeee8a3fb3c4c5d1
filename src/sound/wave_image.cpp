// Placeholder until this section is written.
#include "sound/wave_image.h"

WaveImage::~WaveImage() {}
bool WaveImage::loadFile(const char*) { return false; }
bool WaveImage::release() { return false; }
bool WaveImage::readFormat(plat::WaveFormat&) { return false; }
std::uint32_t WaveImage::dataSize() { return 0; }
std::uint32_t WaveImage::readData(std::uint8_t**, std::uint32_t) { return 0; }
