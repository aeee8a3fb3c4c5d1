// Whole frames of the game (runFrame, flip included) in the positions that matter, and the
// start-up from initialise() to the end of the first frame.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "shell/app.h"
#include "shell/frame.h"

namespace {

// Runs frames of a started game, its position set by `setUp`, until the measurement is done.
template <class SetUp>
void measureFrames(benchmark::State& state, SetUp setUp) {
    if (!startGame()) {
        state.SkipWithError("the game did not start");
        return;
    }
    setUp();
    // A few frames first, so that the texts of the position are rendered once, as in play.
    for (int i = 0; i < 3; ++i) {
        runFrame(mainWindow);
    }
    for (auto _ : state) {
        if (!runFrame(mainWindow)) {
            state.SkipWithError("a frame failed");
            break;
        }
    }
    stopGame();
}

// The first frame the player sees: the main menu over an empty board.
void menuOverEmptyBoard(benchmark::State& state) {
    measureFrames(state, [] {});
}

// In play: 20 pieces, one of them selected and blinking, the status line.
void playWithTwentyPieces(benchmark::State& state) {
    measureFrames(state, [] { setUpPlayWithTwentyPieces(); });
}

// The heaviest frames: all 300 squares occupied with their level numbers, a piece blinking,
// and either the status line (menu closed) or the main menu over the board (the play section
// and its status line are suspended while the menu shows).
void fullBoardWithStatusLine(benchmark::State& state) {
    measureFrames(state, [] { setUpFullBoard(false); });
}

void fullBoardUnderMenu(benchmark::State& state) {
    measureFrames(state, [] { setUpFullBoard(true); });
}

// From the start of initialise() to the end of the first frame: window, display, the four
// sounds, the surfaces and the seven pictures, then the first frame (board cleared, options
// read, the menu over an empty board). A fresh headless back end each time; the font stays
// open from one start to the next, as it would not in a new process (see startupCold).
void startup(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        freshProcess();
        state.ResumeTiming();
        const bool started = initialise() && runFrame(mainWindow);
        state.PauseTiming();
        stopGame();
        state.ResumeTiming();
        if (!started) {
            state.SkipWithError("the game did not start");
            break;
        }
    }
}

// The same, once, as the first thing a process does: the font is opened during the first frame
// too. bench/run.sh runs it in several processes and takes their median.
void startupCold(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        freshProcess();
        state.ResumeTiming();
        const bool started = initialise() && runFrame(mainWindow);
        state.PauseTiming();
        stopGame();
        state.ResumeTiming();
        if (!started) {
            state.SkipWithError("the game did not start");
            break;
        }
    }
}

}  // namespace

BENCHMARK(menuOverEmptyBoard)->Name("frame/menu_over_empty_board")->Unit(benchmark::kMicrosecond);
BENCHMARK(playWithTwentyPieces)
    ->Name("frame/play_20_pieces_selected")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(fullBoardWithStatusLine)
    ->Name("frame/full_board_status_line")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(fullBoardUnderMenu)->Name("frame/full_board_under_menu")->Unit(benchmark::kMicrosecond);
BENCHMARK(startup)->Name("startup/to_end_of_first_frame")->Unit(benchmark::kMillisecond);
BENCHMARK(startupCold)
    ->Name("startup/to_end_of_first_frame_cold")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
