// The picture's way from the game to the screen.
//
// 1. The game draws every frame into its back buffer: an 800 x 600 surface of RGB565 pixels that
//    the common platform code keeps in memory (platform.cpp), written by our own blitter, fills
//    and text. The game's flip hands those pixels to Presenter::present.
// 2. They are copied as they are into a streaming texture of the same size and format
//    (SDL_PIXELFORMAT_RGB565): no conversion on our side, the GPU reads 16-bit pixels.
// 3. The window is as large as the desktop (or whatever the player made it after F11). The
//    picture keeps its 4:3 shape: it goes into the largest 4:3 rectangle that fits the window,
//    centred, with black bars beside or above it (fitPicture).
// 4. Sharp but smooth scaling: the streaming texture is first drawn nearest-neighbour into a
//    render-target texture k times its size, k being the largest whole number for which that
//    still fits in the rectangle, so every game pixel becomes an exact k x k block and no row or
//    column comes out doubled where its neighbours are not. That texture is then drawn with
//    linear filtering into the rectangle: only the last step, by a factor below 2, is smoothed.
//    When the rectangle is exactly k times the picture, the picture goes there in one
//    nearest-neighbour step.
// 5. SDL_RenderPresent shows the window's new frame, waiting for the display's vertical retrace
//    (the renderer was made with vsync). Where it returns sooner (no vsync on this system),
//    pace() sleeps until the next tick of the display's refresh rate (60 Hz when unknown), so
//    that durations counted in frames keep their length and the loop does not burn a processor.
#include "platform/sdl_presenter.h"

#include <algorithm>

namespace plat::sdl {

namespace {

constexpr int kDefaultRefreshRate = 60;
// A wait shorter than this is not worth a sleep: SDL_Delay has millisecond grain.
constexpr Uint64 kShortestSleepMs = 2;

}  // namespace

SDL_Rect fitPicture(int outputWidth, int outputHeight, int pictureWidth, int pictureHeight) {
    SDL_Rect place{0, 0, 0, 0};
    if (outputWidth <= 0 || outputHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
        return place;
    }
    // Wider than the picture's shape: full height, bars left and right; otherwise full width.
    if (static_cast<long long>(outputWidth) * pictureHeight >=
        static_cast<long long>(outputHeight) * pictureWidth) {
        place.h = outputHeight;
        place.w =
            static_cast<int>(static_cast<long long>(outputHeight) * pictureWidth / pictureHeight);
    } else {
        place.w = outputWidth;
        place.h =
            static_cast<int>(static_cast<long long>(outputWidth) * pictureHeight / pictureWidth);
    }
    place.x = (outputWidth - place.w) / 2;
    place.y = (outputHeight - place.h) / 2;
    return place;
}

bool Presenter::open(SDL_Window* window, std::string& why) {
    close();
    window_ = window;
    // The first renderer that can be had: accelerated with vsync, any, then the software one.
    const Uint32 attempts[] = {SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC,
                               SDL_RENDERER_PRESENTVSYNC, 0, SDL_RENDERER_SOFTWARE};
    for (const Uint32 flags : attempts) {
        renderer_.reset(SDL_CreateRenderer(window, -1, flags));
        if (renderer_) {
            break;
        }
    }
    if (!renderer_) {
        why = SDL_GetError();
        window_ = nullptr;
        return false;
    }
    targetsSupported_ = SDL_RenderTargetSupported(renderer_.get()) == SDL_TRUE;
    lost_ = false;
    nextTick_ = 0;
    return true;
}

bool Presenter::setMode(int width, int height, std::string& why) {
    if (!renderer_ || width <= 0 || height <= 0) {
        why = "no renderer for the display mode";
        return false;
    }
    picture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB565,
                                     SDL_TEXTUREACCESS_STREAMING, width, height));
    if (!picture_) {
        why = SDL_GetError();
        return false;
    }
    SDL_SetTextureScaleMode(picture_.get(), SDL_ScaleModeNearest);
    magnified_.reset();
    magnification_ = 0;
    width_ = width;
    height_ = height;
    return true;
}

void Presenter::close() {
    magnified_.reset();
    picture_.reset();
    renderer_.reset();
    magnification_ = 0;
    width_ = height_ = 0;
    window_ = nullptr;
}

bool Presenter::present(const std::uint16_t* pixels, int width, int height) {
    if (!renderer_ || !picture_ || pixels == nullptr || width != width_ || height != height_) {
        return false;
    }
    if (SDL_UpdateTexture(picture_.get(), nullptr, pixels,
                          width * static_cast<int>(sizeof(std::uint16_t))) != 0) {
        return false;
    }
    int outputWidth = 0;
    int outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer_.get(), &outputWidth, &outputHeight) != 0) {
        return false;
    }
    SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
    if (SDL_RenderClear(renderer_.get()) != 0) {
        return false;
    }
    const SDL_Rect place = fitPicture(outputWidth, outputHeight, width_, height_);
    if (place.w > 0 && place.h > 0 && !drawSharp(place)) {
        return false;
    }
    SDL_RenderPresent(renderer_.get());
    pace();
    return true;
}

bool Presenter::drawSharp(const SDL_Rect& place) {
    SDL_Renderer* renderer = renderer_.get();
    const int k = std::max(1, std::min(place.w / width_, place.h / height_));
    if (!targetsSupported_ || (place.w == k * width_ && place.h == k * height_)) {
        // Exactly a whole multiple (or no way to do better): one nearest-neighbour step.
        return SDL_RenderCopy(renderer, picture_.get(), nullptr, &place) == 0;
    }
    if (magnification_ != k || !magnified_) {
        magnified_.reset(SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_TARGET, k * width_, k * height_));
        if (!magnified_) {
            magnification_ = 0;
            return SDL_RenderCopy(renderer, picture_.get(), nullptr, &place) == 0;
        }
        SDL_SetTextureScaleMode(magnified_.get(), SDL_ScaleModeLinear);
        magnification_ = k;
    }
    if (SDL_SetRenderTarget(renderer, magnified_.get()) != 0) {
        return false;
    }
    const bool magnified = SDL_RenderCopy(renderer, picture_.get(), nullptr, nullptr) == 0;
    if (SDL_SetRenderTarget(renderer, nullptr) != 0 || !magnified) {
        return false;
    }
    return SDL_RenderCopy(renderer, magnified_.get(), nullptr, &place) == 0;
}

void Presenter::pace() {
    int refreshRate = kDefaultRefreshRate;
    SDL_DisplayMode mode;
    const int display = window_ != nullptr ? SDL_GetWindowDisplayIndex(window_) : -1;
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
        refreshRate = mode.refresh_rate;
    }
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 period = frequency / static_cast<Uint64>(refreshRate);
    const Uint64 now = SDL_GetPerformanceCounter();
    if (nextTick_ == 0 || now >= nextTick_ + period) {
        // The first frame, or a frame that came a whole refresh late: count from now.
        nextTick_ = now + period;
        return;
    }
    if (nextTick_ > now) {
        const Uint64 waitMs = (nextTick_ - now) * 1000 / frequency;
        if (waitMs >= kShortestSleepMs) {
            SDL_Delay(static_cast<Uint32>(waitMs));
        }
    }
    nextTick_ += period;
}

}  // namespace plat::sdl
