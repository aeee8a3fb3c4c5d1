// Inside the platform layer: what a back end supplies beneath the contract of platform.h.
// The common code (platform.cpp and its neighbours) keeps the objects, the message queue, the
// surfaces and their pixels, the mouse buffer and the memory blocks; a back end gives it the
// outside world: system events, presentation of the finished picture, the keyboard, the sound
// device, the debugger output, the end of the process, and (headless only) injected failures.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace plat {

// Every platform operation that the game handles a failure of. The headless back end can be
// told to make any of them fail; the SDL back end only fails them for real.
enum class Op {
    CreateWindow,
    CreateInput,
    CreateDisplay,
    SetDisplayCooperativeLevel,
    SetDisplayMode,
    CreatePrimarySurface,
    GetBackBuffer,
    CreateSurface,
    GetSurfaceDesc,
    GetSurfaceDc,
    PixelFormatPalettised,  // getSurfaceDesc reports a palettised 8-bit format
    PixelFormatExtraFlag,   // getSurfaceDesc reports RGB with one more flag set
    LoadPicture,
    CopyPicture,
    Blit,
    ColourFill,
    Flip,
    AcquireDevice,
    MouseInputLost,  // the next mouse read answers InputLost
    ReadKeyboard,
    CreateSoundDevice,
    SetSoundCooperativeLevel,
    CreateSoundBuffer,
    LockSoundBuffer,
    UnlockSoundBuffer,
    Count
};

// A sound as the device will play it: the bytes unlocked into a buffer, converted by the back
// end to what its device wants.
struct SoundData {
    WaveFormat format;
    std::vector<std::uint8_t> bytes;
};

class Backend {
public:
    virtual ~Backend() = default;

    // True when `op` is to fail now (headless fault injection). Asked once per call of `op`.
    virtual bool injectedFailure(Op op) {
        (void)op;
        return false;
    }

    // Window. openWindow creates it (not shown); showWindow shows it and gives it the focus.
    virtual bool openWindow(const char* title) = 0;
    virtual void showWindow() = 0;
    virtual void closeWindow() = 0;
    virtual void hideSystemPointer() = 0;
    // The next system event as a message, without waiting. False when none is waiting
    // right now. The headless back end also answers false when a frame is due.
    virtual bool pollSystemMessage(Message& message) = 0;
    // Blocks until pollSystemMessage may have something.
    virtual void waitSystemMessage() = 0;

    virtual void writeDebugLine(const std::string& utf8Line) = 0;
    [[noreturn]] virtual void exitProcess(int code) = 0;

    // Display: taking it, and showing a finished 800 x 600 RGB565 picture (pitch in pixels).
    virtual bool openDisplay() = 0;
    virtual bool setMode(int width, int height, int bitsPerPixel) = 0;
    virtual bool present(const std::uint16_t* pixels, int width, int height) = 0;
    virtual void closeDisplay() = 0;
    // True once the surfaces have been lost (another program took the display).
    virtual bool surfacesLost() const = 0;

    // Input. The back end fills the common mouse buffer (pushMouseRecord below);
    // here it only reports the keyboard.
    virtual bool escapeDown() = 0;

    // Sound device and buffers. A buffer id is the back end's own.
    virtual bool openSoundDevice() = 0;
    virtual void closeSoundDevice() = 0;
    virtual bool acceptsFormat(const WaveFormat& format) = 0;
    // The bytes of a buffer were unlocked: convert and keep them under `id`.
    virtual void setSound(std::uint32_t id, const SoundData& sound) = 0;
    virtual void playSound(std::uint32_t id, bool loop) = 0;
    virtual void dropSound(std::uint32_t id) = 0;
};

// The back end in use; set by selectSdlBackend() or headless::install().
Backend& backend();
void setBackend(std::unique_ptr<Backend> backend);

// The mouse buffer shared by both back ends: at most `capacity` records wait between two
// reads (32 once the game has set it); records beyond that are dropped.
void pushMouseRecord(std::uint32_t offset, std::int32_t data);
// Forgets every object, block, message and mouse record (a new run of the game in tests).
void resetPlatformState();

}  // namespace plat
