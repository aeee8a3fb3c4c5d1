// Inside the SDL back end: the sound device. Each sound buffer's bytes are converted once, when the
// game unlocks them, to the device's own format (16-bit samples at its rate and channel count);
// SDL's audio thread then mixes every sound that plays into the device's stream.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/sdl_handles.h"

namespace plat::sdl {

class Audio {
  public:
    Audio() = default;
    Audio(const Audio&) = delete;
    Audio& operator=(const Audio&) = delete;
    ~Audio() { close(); }

    // Opens the default device. Where the system has none, the device stays silent and `why`
    // says so; the result is true in both cases.
    bool open(std::string& why);
    void close();
    bool silent() const { return !device_; }

    // 8- or 16-bit PCM, one or two channels, at a rate the converter can take.
    static bool acceptsFormat(const WaveFormat& format);
    void setSound(std::uint32_t id, const SoundData& sound);
    void play(std::uint32_t id, bool loop);
    void drop(std::uint32_t id);

    // The device's format (for tests and messages); all zero while silent.
    const SDL_AudioSpec& deviceFormat() const { return deviceFormat_; }

    // Sums every playing sound into `samples` 16-bit samples of the device's format, clamped to
    // the 16-bit range, and moves the sounds on. SDL's audio thread calls it with the device
    // locked; a test calls it itself on a paused device.
    void mix(Sint16* out, std::size_t samples);
    // Stops (or restarts) the audio thread's calls of mix.
    void pause(bool paused);

  private:
    struct Voice {
        std::vector<Sint16> samples;  // in the device's format, channels interleaved
        std::size_t position = 0;     // next sample to mix
        bool playing = false;
        bool loop = false;
    };

    static void SDLCALL fillStream(void* self, Uint8* stream, int length);

    // Touched by the audio thread: only under AudioLock.
    std::map<std::uint32_t, Voice> voices_;
    SDL_AudioSpec deviceFormat_{};
    Subsystem subsystem_;
    // Declared last so that it is closed first: no callback runs once the rest is going.
    AudioDevice device_;
};

}  // namespace plat::sdl
