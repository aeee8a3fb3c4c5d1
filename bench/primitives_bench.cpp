// The pieces of a frame: the keyed stretching blit (ours against SDL_BlitScaled on the same
// RGB565 pixels), the 300 level numbers of a full board with and without the text cache, and a
// plain copy of one screen, the memory's own limit.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bench_support.h"
#include "board/board.h"
#include "display/draw.h"
#include "display/sprites.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/text_cache.h"
#include "shell/app.h"

namespace {

// An SDL surface in RGB565 holding a copy of a game surface's pixels, with the colour key 0.
SDL_Surface* sdlCopyOf(plat::Handle surface) {
    int width = 0;
    int height = 0;
    const std::vector<std::uint16_t>* pixels =
        plat::headless::surfacePixels(surface, &width, &height);
    if (pixels == nullptr) {
        return nullptr;
    }
    SDL_Surface* copy =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, SDL_PIXELFORMAT_RGB565);
    if (copy == nullptr) {
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(copy->pixels) + y * copy->pitch,
                    pixels->data() + static_cast<std::size_t>(y) * width,
                    static_cast<std::size_t>(width) * sizeof(std::uint16_t));
    }
    SDL_SetColorKey(copy, SDL_TRUE, 0);
    return copy;
}

struct BlitCase {
    int sheet;
    plat::Rect from;
    plat::Rect to;
};

// The board's background: frame 2 of the grid sheet (20 x 20) over the whole screen.
constexpr BlitCase kBackground{SPRITE_GRID, {20, 0, 40, 20}, {0, 0, 800, 600}};
// A piece on its square: frame 1 of the pawn sheet, 38 x 38, not stretched.
constexpr BlitCase kPiece{SPRITE_PAWN, {0, 0, 38, 38}, {402, 282, 440, 320}};

void ourBlit(benchmark::State& state, const BlitCase& blit) {
    if (!startGame()) {
        state.SkipWithError("the game did not start");
        return;
    }
    for (auto _ : state) {
        if (!plat::blit(backBuffer, &blit.to, sheets[blit.sheet], &blit.from, true)) {
            state.SkipWithError("the blit failed");
            break;
        }
    }
    stopGame();
}

void sdlBlit(benchmark::State& state, const BlitCase& blit) {
    if (!startGame()) {
        state.SkipWithError("the game did not start");
        return;
    }
    SDL_Surface* source = sdlCopyOf(sheets[blit.sheet]);
    SDL_Surface* target = sdlCopyOf(backBuffer);
    stopGame();
    if (source == nullptr || target == nullptr) {
        state.SkipWithError("no SDL surface");
    } else {
        const SDL_Rect from{blit.from.left, blit.from.top, blit.from.right - blit.from.left,
                            blit.from.bottom - blit.from.top};
        const SDL_Rect to{blit.to.left, blit.to.top, blit.to.right - blit.to.left,
                          blit.to.bottom - blit.to.top};
        for (auto _ : state) {
            SDL_Rect fromCopy = from;
            SDL_Rect toCopy = to;  // SDL clips the rectangles it is given
            if (SDL_BlitScaled(source, &fromCopy, target, &toCopy) != 0) {
                state.SkipWithError("SDL_BlitScaled failed");
                break;
            }
        }
    }
    SDL_FreeSurface(source);
    SDL_FreeSurface(target);
}

void backgroundOurs(benchmark::State& state) {
    ourBlit(state, kBackground);
}
void backgroundSdl(benchmark::State& state) {
    sdlBlit(state, kBackground);
}
void pieceOurs(benchmark::State& state) {
    ourBlit(state, kPiece);
}
void pieceSdl(benchmark::State& state) {
    sdlBlit(state, kPiece);
}

// The level numbers of a full board, as the board drawing writes them: drawNumber, red on grey,
// at the 300 squares' number positions, levels 1 to 4 mixed.
void levelDigits(benchmark::State& state, bool cached) {
    if (!startGame()) {
        state.SkipWithError("the game did not start");
        return;
    }
    plat::detail::setTextCacheEnabled(cached);
    const auto drawAll = [] {
        for (int c = 0; c < BOARD_COLUMNS; ++c) {
            for (int r = 0; r < BOARD_ROWS; ++r) {
                const bool white = (c + r) % 2 == 0;
                drawNumber(1 + (c * 3 + r) % 4, SQUARE_SIZE * c + (white ? 17 : 16),
                           SQUARE_SIZE * r + 13, backBuffer, "", "", 0xFF, 0x7F7F7F, false);
            }
        }
    };
    drawAll();  // the cache filled, as after the first frame
    for (auto _ : state) {
        drawAll();
    }
    plat::detail::setTextCacheEnabled(true);
    stopGame();
}

// The platform's part of the same: the text output alone (the surface's device context, the
// cache and the copy), the digits already formatted.
void levelDigitsTextOut(benchmark::State& state) {
    if (!startGame()) {
        state.SkipWithError("the game did not start");
        return;
    }
    const char* const digits[] = {"1", "2", "3", "4"};
    const auto drawAll = [&digits] {
        for (int c = 0; c < BOARD_COLUMNS; ++c) {
            for (int r = 0; r < BOARD_ROWS; ++r) {
                const bool white = (c + r) % 2 == 0;
                if (plat::getSurfaceDc(backBuffer)) {
                    plat::textOut(backBuffer, SQUARE_SIZE * c + (white ? 17 : 16),
                                  SQUARE_SIZE * r + 13, digits[(c * 3 + r) % 4], 0xFF, 0x7F7F7F);
                    plat::releaseSurfaceDc(backBuffer);
                }
            }
        }
    };
    drawAll();
    for (auto _ : state) {
        drawAll();
    }
    stopGame();
}

void levelDigitsCached(benchmark::State& state) {
    levelDigits(state, true);
}
void levelDigitsUncached(benchmark::State& state) {
    levelDigits(state, false);
}

// One 800 x 600 RGB565 screen copied with memcpy: what a frame costs at the least.
void copyScreen(benchmark::State& state) {
    std::vector<std::uint16_t> from(800 * 600, 0x1234);
    std::vector<std::uint16_t> to(800 * 600, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint16_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(backgroundOurs)->Name("blit/background_800x600/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(backgroundSdl)->Name("blit/background_800x600/sdl")->Unit(benchmark::kMicrosecond);
BENCHMARK(pieceOurs)->Name("blit/piece_38x38/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(pieceSdl)->Name("blit/piece_38x38/sdl")->Unit(benchmark::kMicrosecond);
BENCHMARK(levelDigitsCached)->Name("text/300_levels/cached")->Unit(benchmark::kMicrosecond);
BENCHMARK(levelDigitsTextOut)
    ->Name("text/300_levels/cached_text_output_alone")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(levelDigitsUncached)->Name("text/300_levels/uncached")->Unit(benchmark::kMicrosecond);
BENCHMARK(copyScreen)->Name("memory/copy_one_screen")->Unit(benchmark::kMicrosecond);
