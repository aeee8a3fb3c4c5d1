// The real back end: the game's window, screen, mouse, keyboard and sound device, through SDL.
//
// The window covers the desktop (full screen at the desktop's own resolution, no change of video
// mode); F11 and Alt+Enter switch it between full screen and a window, without the game knowing.
// SDL's events become the game's window messages (focus, minimising, closing, the pointer
// entering) or records in the common mouse buffer (relative motion, buttons). The picture's way
// to the screen is told in sdl_presenter.cpp, the sound's in sdl_audio.cpp.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/objects.h"
#include "platform/platform.h"
#include "platform/sdl_audio.h"
#include "platform/sdl_handles.h"
#include "platform/sdl_presenter.h"

namespace plat {

namespace {

// The game's picture: the size the mouse is scaled to until the display mode is set.
constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 600;
// Room left around the window when the player switches from full screen to a window.
constexpr int kWindowMargin = 64;
constexpr std::uint8_t kButtonPressed = 0x80;

class SdlBackend final : public Backend {
  public:
    SdlBackend() = default;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;
    ~SdlBackend() override { shutDown(); }

    bool openWindow(const char* title) override;
    void showWindow() override;
    void closeWindow() override;
    void hideSystemPointer() override { SDL_ShowCursor(SDL_DISABLE); }
    bool pollSystemMessage(Message& message) override;
    void waitSystemMessage() override;

    void writeDebugLine(const std::string& utf8Line) override {
        std::fprintf(stderr, "%s\n", utf8Line.c_str());
        std::fflush(stderr);
    }
    [[noreturn]] void exitProcess(int code) override {
        // Nothing of the game is released (it asked for an immediate end), but the sound
        // device is stopped before the process's own clean-up runs.
        shutDown();
        std::fflush(nullptr);
        std::exit(code);
    }

    bool openDisplay() override;
    bool setMode(int width, int height, int bitsPerPixel) override;
    bool present(const std::uint16_t* pixels, int width, int height) override {
        return presenter_.present(pixels, width, height);
    }
    void closeDisplay() override { presenter_.close(); }
    bool surfacesLost() const override { return presenter_.lost(); }

    bool escapeDown() override;

    bool openSoundDevice() override;
    void closeSoundDevice() override { audio_.close(); }
    bool acceptsFormat(const WaveFormat& format) override {
        return sdl::Audio::acceptsFormat(format);
    }
    void setSound(std::uint32_t id, const SoundData& sound) override { audio_.setSound(id, sound); }
    void playSound(std::uint32_t id, bool loop) override { audio_.play(id, loop); }
    void dropSound(std::uint32_t id) override { audio_.drop(id); }

  private:
    void shutDown();
    bool openVideo(std::string& why);
    void handleEvent(const SDL_Event& event);
    void handleWindowEvent(const SDL_WindowEvent& event);
    void handleKey(const SDL_KeyboardEvent& event);
    void queue(MessageKind kind, std::int32_t param = 0) { messages_.push_back({kind, param}); }
    void queueClose();
    void updateActivation();
    void toggleFullScreen();
    static SDL_Rect windowedSize(int display);
    void pushMotion(std::int32_t xMotion, std::int32_t yMotion);

    sdl::Subsystem video_;
    sdl::WindowPtr window_;
    Uint32 windowId_ = 0;
    sdl::Presenter presenter_;  // after the window: it goes first
    sdl::Audio audio_;

    std::deque<Message> messages_;  // translated, not yet handed to the game
    SDL_Event pending_{};           // taken by waitSystemMessage, not yet handled
    bool havePending_ = false;

    bool focused_ = false;
    bool minimised_ = false;
    bool active_ = false;  // as last told to the game
    bool closeQueued_ = false;
    bool escapePressed_ = false;  // since the last keyboard snapshot
    // Parts of a pixel of motion kept over for the next event, so slow motion is not lost.
    double restX_ = 0.0;
    double restY_ = 0.0;
};

void SdlBackend::shutDown() {
    audio_.close();
    presenter_.close();
    window_.reset();
    video_.reset();
}

bool SdlBackend::openVideo(std::string& why) {
    const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
    if (chosen != nullptr && *chosen != '\0') {
        video_ = sdl::Subsystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        why = SDL_GetError();
        return video_.ok();
    }
    // Left to itself, SDL falls back on its off-screen driver where no display can be had, and
    // the game would run unseen. Only the drivers that show something are tried: the X server,
    // a Wayland compositor where one is named, the console.
    std::vector<const char*> drivers = {"x11"};
    const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
    if (wayland != nullptr && *wayland != '\0') {
        drivers.push_back("wayland");
    }
    drivers.push_back("KMSDRM");
    for (const char* driver : drivers) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        video_ = sdl::Subsystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        if (video_.ok()) {
            return true;
        }
        why += (why.empty() ? "" : ", ") + std::string(SDL_GetError());
    }
    return false;
}

bool SdlBackend::openWindow(const char* title) {
    std::string why;
    if (!openVideo(why)) {
        writeDebugLine("Impossible d'ouvrir l'affichage : " + why);
        return false;
    }
    // Full screen is asked of the window manager; the window is also made as large as the
    // desktop, so that it covers the screen where no window manager runs.
    SDL_Rect desktop{0, 0, kPictureWidth, kPictureHeight};
    SDL_GetDisplayBounds(0, &desktop);
    const std::string utf8Title = detail::windows1252ToUtf8(title);
    const Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_RESIZABLE;
    // Made for OpenGL where it can be, as the renderer will most likely be OpenGL's: SDL would
    // otherwise make the window anew, behind the game's back, when the renderer is created.
    for (const Uint32 extra : {static_cast<Uint32>(SDL_WINDOW_OPENGL), Uint32{0}}) {
        window_.reset(SDL_CreateWindow(utf8Title.c_str(), desktop.x, desktop.y,
                                       std::max(desktop.w, 1), std::max(desktop.h, 1),
                                       flags | extra));
        if (window_) {
            break;
        }
    }
    if (!window_) {
        writeDebugLine(std::string("Impossible d'ouvrir la fen\xC3\xAAtre : ") + SDL_GetError());
        video_.reset();
        return false;
    }
    windowId_ = SDL_GetWindowID(window_.get());
    return true;
}

void SdlBackend::showWindow() {
    if (!window_) {
        return;
    }
    SDL_ShowWindow(window_.get());
    SDL_RaiseWindow(window_.get());
    // Motion comes as relative motion, whatever the edges of the screen. Where the system
    // cannot give it, SDL keeps the pointer in the middle of the window and measures from there.
    if (SDL_SetRelativeMouseMode(SDL_TRUE) != 0) {
        SDL_SetHint(SDL_HINT_MOUSE_RELATIVE_MODE_WARP, "1");
        SDL_SetRelativeMouseMode(SDL_TRUE);
    }
    // A window just shown has the focus: the program starts active.
    focused_ = true;
    minimised_ = false;
    active_ = true;
    queue(MessageKind::ActivateApp, 1);
    queue(MessageKind::SetCursor);
}

void SdlBackend::closeWindow() {
    presenter_.close();
    if (window_) {
        SDL_SetRelativeMouseMode(SDL_FALSE);
        window_.reset();
    }
    windowId_ = 0;
}

bool SdlBackend::pollSystemMessage(Message& message) {
    for (;;) {
        if (!messages_.empty()) {
            message = messages_.front();
            messages_.pop_front();
            return true;
        }
        SDL_Event event;
        if (havePending_) {
            event = pending_;
            havePending_ = false;
        } else if (!video_.ok() || SDL_PollEvent(&event) == 0) {
            return false;
        }
        handleEvent(event);
    }
}

void SdlBackend::waitSystemMessage() {
    if (!messages_.empty() || havePending_ || !video_.ok()) {
        return;
    }
    // Sleeps in the system until something happens: an inactive game uses no processor time.
    if (SDL_WaitEvent(&pending_) != 0) {
        havePending_ = true;
    } else {
        SDL_Delay(10);
    }
}

void SdlBackend::handleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            queueClose();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.windowID == windowId_) {
                handleWindowEvent(event.window);
            }
            break;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            presenter_.noteReset();
            break;
        case SDL_MOUSEMOTION:
            if (active_) {
                pushMotion(event.motion.xrel, event.motion.yrel);
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (active_) {
                const std::int32_t data = event.type == SDL_MOUSEBUTTONDOWN ? kButtonPressed : 0;
                if (event.button.button == SDL_BUTTON_LEFT) {
                    pushMouseRecord(kMouseOffsetButton0, data);
                } else if (event.button.button == SDL_BUTTON_RIGHT) {
                    pushMouseRecord(kMouseOffsetButton1, data);
                }
            }
            break;
        case SDL_KEYDOWN:
            if (event.key.keysym.scancode == SDL_SCANCODE_ESCAPE) {
                escapePressed_ = true;
            }
            handleKey(event.key);
            break;
        default:
            break;
    }
}

void SdlBackend::handleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            queueClose();
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            focused_ = true;
            updateActivation();
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            focused_ = false;
            updateActivation();
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            minimised_ = true;
            updateActivation();
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_SHOWN:
            minimised_ = false;
            updateActivation();
            break;
        case SDL_WINDOWEVENT_ENTER:
            queue(MessageKind::SetCursor);
            break;
        default:
            break;
    }
}

void SdlBackend::handleKey(const SDL_KeyboardEvent& event) {
    if (event.repeat != 0) {
        return;
    }
    const SDL_Keycode key = event.keysym.sym;
    const bool alt = (event.keysym.mod & KMOD_ALT) != 0;
    if (key == SDLK_F11 || (alt && (key == SDLK_RETURN || key == SDLK_KP_ENTER))) {
        toggleFullScreen();
    }
}

void SdlBackend::queueClose() {
    // The window's close event and the quit event that follows it are one close command.
    if (!closeQueued_ && window_) {
        closeQueued_ = true;
        queue(MessageKind::Close);
    }
}

void SdlBackend::updateActivation() {
    const bool active = focused_ && !minimised_;
    if (active != active_) {
        active_ = active;
        restX_ = restY_ = 0.0;
        queue(MessageKind::ActivateApp, active ? 1 : 0);
    }
}

void SdlBackend::toggleFullScreen() {
    if (!window_) {
        return;
    }
    SDL_Window* window = window_.get();
    const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
    // The size and place are set as well as the full-screen state: a window manager would
    // restore them itself, but where none runs nobody else does.
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0) {
        SDL_SetWindowFullscreen(window, 0);
        const SDL_Rect windowed = windowedSize(display);
        SDL_SetWindowSize(window, windowed.w, windowed.h);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                              SDL_WINDOWPOS_CENTERED_DISPLAY(display));
    } else {
        SDL_Rect desktop;
        if (SDL_GetDisplayBounds(display, &desktop) == 0) {
            SDL_SetWindowPosition(window, desktop.x, desktop.y);
            SDL_SetWindowSize(window, desktop.w, desktop.h);
        }
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
}

SDL_Rect SdlBackend::windowedSize(int display) {
    // The largest whole multiple of the picture that fits the desktop with some room around
    // it, or four fifths of a desktop too small for that.
    SDL_Rect desktop{0, 0, kPictureWidth, kPictureHeight};
    SDL_GetDisplayUsableBounds(display, &desktop);
    const int multiple = std::min((desktop.w - kWindowMargin) / kPictureWidth,
                                  (desktop.h - kWindowMargin) / kPictureHeight);
    if (multiple >= 1) {
        return SDL_Rect{0, 0, kPictureWidth * multiple, kPictureHeight * multiple};
    }
    SDL_Rect size =
        sdl::fitPicture(desktop.w * 4 / 5, desktop.h * 4 / 5, kPictureWidth, kPictureHeight);
    size.w = std::max(size.w, 1);
    size.h = std::max(size.h, 1);
    return size;
}

void SdlBackend::pushMotion(std::int32_t xMotion, std::int32_t yMotion) {
    // The game's cursor crosses the picture as the system's pointer would cross it where it is
    // shown: one pixel of the picture per pixel of motion over the picture's width on screen.
    const int pictureWidth =
        presenter_.pictureWidth() > 0 ? presenter_.pictureWidth() : kPictureWidth;
    const int pictureHeight =
        presenter_.pictureHeight() > 0 ? presenter_.pictureHeight() : kPictureHeight;
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window_.get(), &windowWidth, &windowHeight);
    const SDL_Rect place = sdl::fitPicture(windowWidth, windowHeight, pictureWidth, pictureHeight);
    const double scale =
        place.w > 0 ? static_cast<double>(pictureWidth) / static_cast<double>(place.w) : 1.0;
    restX_ += xMotion * scale;
    restY_ += yMotion * scale;
    const double wholeX = std::trunc(restX_);
    const double wholeY = std::trunc(restY_);
    restX_ -= wholeX;
    restY_ -= wholeY;
    if (wholeX != 0.0) {
        pushMouseRecord(kMouseOffsetX, static_cast<std::int32_t>(wholeX));
    }
    if (wholeY != 0.0) {
        pushMouseRecord(kMouseOffsetY, static_cast<std::int32_t>(wholeY));
    }
}

bool SdlBackend::escapeDown() {
    // A tap shorter than a frame still counts as down in the next snapshot: the key went
    // down and up between two frames, and would otherwise never be seen.
    const bool pressed = escapePressed_;
    escapePressed_ = false;
    // The keyboard belongs to the game only while it is in front.
    if (!active_ || !video_.ok()) {
        return false;
    }
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    return pressed || (keys != nullptr && keys[SDL_SCANCODE_ESCAPE] != 0);
}

bool SdlBackend::openDisplay() {
    if (!window_) {
        return false;
    }
    std::string why;
    if (!presenter_.open(window_.get(), why)) {
        writeDebugLine("Impossible de dessiner dans la fen\xC3\xAAtre : " + why);
        return false;
    }
    return true;
}

bool SdlBackend::setMode(int width, int height, int bitsPerPixel) {
    if (bitsPerPixel != 16) {
        return false;
    }
    std::string why;
    if (!presenter_.setMode(width, height, why)) {
        writeDebugLine("Impossible de pr\xC3\xA9parer l'image : " + why);
        return false;
    }
    return true;
}

bool SdlBackend::openSoundDevice() {
    std::string why;
    audio_.open(why);
    if (audio_.silent()) {
        writeDebugLine("Pas de son (" + why + ") : le jeu continue en silence.");
    }
    return true;
}

}  // namespace

void selectSdlBackend() {
    setBackend(std::make_unique<SdlBackend>());
}

}  // namespace plat
