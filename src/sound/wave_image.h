// A wave file held whole in memory, answering for its format, its data size and its data.
#pragma once

#include <cstdint>

#include "platform/platform.h"

class WaveImage {
public:
    WaveImage() = default;
    virtual ~WaveImage();
    WaveImage(const WaveImage&) = delete;
    WaveImage& operator=(const WaveImage&) = delete;

    bool loadFile(const char* path);
    bool release();
    bool readFormat(plat::WaveFormat& format);
    std::uint32_t dataSize();
    std::uint32_t readData(std::uint8_t** block, std::uint32_t maxBytes);

    std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    std::uint32_t fromResource = 0;
};
