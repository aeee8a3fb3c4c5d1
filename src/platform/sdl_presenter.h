// Inside the SDL back end: showing the game's finished picture in the window (sdl_presenter.cpp
// tells the picture's whole path).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/sdl_handles.h"

namespace plat::sdl {

// Where a picture of pictureWidth x pictureHeight is shown inside an output of outputWidth x
// outputHeight: the largest rectangle of the picture's shape that fits, centred.
SDL_Rect fitPicture(int outputWidth, int outputHeight, int pictureWidth, int pictureHeight);

class Presenter {
  public:
    // Makes the renderer for the window. False, with SDL's reason in `why`, when none can be made.
    bool open(SDL_Window* window, std::string& why);
    // The size of the game's pictures from now on (the display mode).
    bool setMode(int width, int height, std::string& why);
    // Shows one picture of RGB565 pixels, rows packed, then waits for the display's next
    // refresh. False when the renderer fails.
    bool present(const std::uint16_t* pixels, int width, int height);
    void close();
    bool isOpen() const { return renderer_ != nullptr; }

    // The renderer said its targets or its device were reset: what was on the GPU is gone.
    void noteReset() { lost_ = true; }
    bool lost() const { return lost_; }

    int pictureWidth() const { return width_; }
    int pictureHeight() const { return height_; }

  private:
    bool drawSharp(const SDL_Rect& place);
    void pace();

    SDL_Window* window_ = nullptr;  // not owned: the back end's window outlives the renderer
    RendererPtr renderer_;
    TexturePtr picture_;     // the game's pixels, as they come
    TexturePtr magnified_;   // the picture at a whole multiple of its size
    int magnification_ = 0;  // of magnified_, 0 while there is none
    int width_ = 0;
    int height_ = 0;
    bool targetsSupported_ = false;
    bool lost_ = false;
    Uint64 nextTick_ = 0;  // when the next refresh is due, in performance-counter units
};

}  // namespace plat::sdl
