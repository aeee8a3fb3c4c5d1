// Inside the SDL back end: owning handles for SDL's objects, so that every window, renderer,
// texture, subsystem and audio device is given back exactly once, in the reverse order of its
// making, whatever path the program takes to its end.
#pragma once

#include <SDL.h>

#include <memory>

namespace plat::sdl {

struct WindowDeleter {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
struct RendererDeleter {
    void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
};
struct TextureDeleter {
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};

using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;
using RendererPtr = std::unique_ptr<SDL_Renderer, RendererDeleter>;
using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;

// One SDL subsystem held open: SDL counts its users, so each holder quits what it initialised.
class Subsystem {
  public:
    Subsystem() = default;
    explicit Subsystem(Uint32 flags) {
        if (SDL_InitSubSystem(flags) == 0) {
            flags_ = flags;
        }
    }
    Subsystem(const Subsystem&) = delete;
    Subsystem& operator=(const Subsystem&) = delete;
    Subsystem(Subsystem&& other) noexcept : flags_(other.flags_) { other.flags_ = 0; }
    Subsystem& operator=(Subsystem&& other) noexcept {
        if (this != &other) {
            reset();
            flags_ = other.flags_;
            other.flags_ = 0;
        }
        return *this;
    }
    ~Subsystem() { reset(); }

    bool ok() const { return flags_ != 0; }
    void reset() {
        if (flags_ != 0) {
            SDL_QuitSubSystem(flags_);
            flags_ = 0;
        }
    }

  private:
    Uint32 flags_ = 0;
};

// An opened audio device; closing it stops its callback for good.
class AudioDevice {
  public:
    AudioDevice() = default;
    explicit AudioDevice(SDL_AudioDeviceID id) : id_(id) {}
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;
    AudioDevice(AudioDevice&& other) noexcept : id_(other.id_) { other.id_ = 0; }
    AudioDevice& operator=(AudioDevice&& other) noexcept {
        if (this != &other) {
            reset();
            id_ = other.id_;
            other.id_ = 0;
        }
        return *this;
    }
    ~AudioDevice() { reset(); }

    SDL_AudioDeviceID id() const { return id_; }
    explicit operator bool() const { return id_ != 0; }
    void reset() {
        if (id_ != 0) {
            SDL_CloseAudioDevice(id_);
            id_ = 0;
        }
    }

  private:
    SDL_AudioDeviceID id_ = 0;
};

// Holds the audio callback off the shared state for as long as it lives.
class AudioLock {
  public:
    explicit AudioLock(SDL_AudioDeviceID id) : id_(id) {
        if (id_ != 0) {
            SDL_LockAudioDevice(id_);
        }
    }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;
    ~AudioLock() {
        if (id_ != 0) {
            SDL_UnlockAudioDevice(id_);
        }
    }

  private:
    SDL_AudioDeviceID id_;
};

}  // namespace plat::sdl
