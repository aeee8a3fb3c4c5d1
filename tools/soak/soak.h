// The soak: the game played headless, in this process, for a number of frames by the random
// player of generator.h, with the game's promises checked after every frame:
//   - the cursor stays within 1..779 x 1..579; the buttons are 0 or 1;
//   - the player to move is 0 or 1; a selection lies on the board; a file name has 0 to 5
//     letters; the countdown timers never fall below 0;
//   - while a game is played (its play phase, its reinforcements, its result), each side's
//     count of pieces is the number of its pieces on the board. Not during the first placement
//     (the counts stand at ten from the start) nor in the demonstration (its position is set up
//     without counting). pieceCount is not checked: the rules let it fall by one at every
//     step, so it goes below 0 in any long game; it only numbers new pieces, and nothing reads
//     those numbers;
//   - nothing is written to the debugger output (no fatal error, no failed save);
//   - the program ends only by the menu's quit button, Escape on the result picture or the
//     close command, with exit code 0, and the close command leaves no object and no memory
//     block behind.
// When the program ends, a new run starts in the same working folder (its saved games stay) and
// the frames go on counting.
#pragma once

#include <cstdint>
#include <string>

namespace soak {

struct Options {
    std::string gameDir;  // the playable folder: its bitmaps and waves are used
    long long frames = 100000;
    std::uint64_t seed = 1;
    // Where the script of a failing run is written (gorvendal-replay plays it again).
    std::string failureScript = "soak-failure.txt";
};

struct Report {
    long long frames = 0;
    int runs = 0;
    int quitButton = 0;
    int escapeOnResult = 0;
    int closeCommand = 0;
    int gamesFinished = 0;
    int reinforcements = 0;
    int saves = 0;
    int loads = 0;
    int lessons = 0;
    int sounds[4] = {0, 0, 0, 0};  // click, move, attack, win
    std::string failure;           // empty when every check held
};

// Plays until `options.frames` frames have run or a check fails. False on a failure (in
// report.failure, the run's script written to options.failureScript) or when the working
// folder cannot be made.
bool run(const Options& options, Report& report);

}  // namespace soak
