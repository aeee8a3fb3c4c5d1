// Inside the platform layer: the objects behind the handles of platform.h, and the helpers the
// common code's files share. Nothing outside src/platform includes this header.
//
// Every object lives in one registry, keyed by its handle. Handles count up from 1 for the whole
// life of the process and are never given twice, so a handle kept after its object was released
// (or from an earlier run in the same test process) names nothing and every operation on it fails.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/backend.h"
#include "platform/platform.h"

namespace plat::detail {

struct WindowObject {
    WindowProcedure procedure = nullptr;
};

struct DisplayObject {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

// A surface of RGB565 pixels, rows packed (pitch = width).
struct SurfaceObject {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> pixels;
    std::uint16_t colourKey = 0;
    bool primary = false;
    Handle backBuffer = kNoHandle;  // of a primary surface, which owns it
    Handle owner = kNoHandle;       // of a back buffer: its primary surface
    bool dcHeld = false;
};

struct PictureObject {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> pixels;
};

struct InputObject {
    std::vector<Handle> devices;  // owned: released with the input object
};

struct DeviceObject {
    Handle input = kNoHandle;
    bool mouse = false;
    bool acquired = false;
};

struct SoundDeviceObject {};

struct SoundBufferObject {
    WaveFormat format;
    std::vector<std::uint8_t> bytes;
    bool locked = false;
    std::uint32_t lockOffset = 0;
    std::uint32_t lockBytes = 0;
    // How far from the start the buffer holds written sound.
    std::uint32_t filled = 0;
};

using Object = std::variant<WindowObject, DisplayObject, SurfaceObject, PictureObject, InputObject,
                            DeviceObject, SoundDeviceObject, SoundBufferObject>;

// Registry. addObject gives the object a fresh handle.
Handle addObject(Object object);
Object* findObject(Handle handle);
// Removes one entry only (no owned objects, no back-end calls).
void eraseObject(Handle handle);

template <class T>
T* find(Handle handle) {
    Object* object = findObject(handle);
    return object == nullptr ? nullptr : std::get_if<T>(object);
}

// True when the back end says `op` is to fail now.
inline bool injected(Op op) {
    return backend().injectedFailure(op);
}

// 0x00BBGGRR to RGB565: the top 5, 6 and 5 bits of red, green and blue.
constexpr std::uint16_t toRgb565(std::uint32_t colour) {
    const std::uint32_t red = colour & 0xFF;
    const std::uint32_t green = (colour >> 8) & 0xFF;
    const std::uint32_t blue = (colour >> 16) & 0xFF;
    return static_cast<std::uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

// A Windows-1252 byte string as UTF-8 (every byte mapped; the five unassigned ones to the C1
// control characters of the same value, as the system's conversion does).
std::string windows1252ToUtf8(const char* text);

// A game path ("bitmaps\cur.bmp") as a path of this system ("bitmaps/cur.bmp").
std::string systemPath(const char* gamePath);

// Per-part resets, called by resetPlatformState.
void resetMessages();
void resetMouseBuffer();
void resetBlocks();
// Forgets the cached text pictures (the font stays open).
void resetTextCache();

}  // namespace plat::detail
