// What the benchmarks share: the game started headless in a working folder of its own that
// holds the generated pictures and sounds, and the board positions they measure.
#pragma once

#include <filesystem>

// A fresh working folder linking GAME_DIR/bitmaps and GAME_DIR/waves, made the current
// directory for the life of the object, then removed.
class WorkFolder {
  public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    bool ready() const { return ready_; }

  private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
    bool ready_ = false;
};

// The game's globals as the process starts, and the headless back end freshly installed.
void freshProcess();
// freshProcess, the game's own start-up and its first frame (which clears the board, reads the
// options file and leaves the main menu over an empty board). False when start-up failed.
bool startGame();
// releaseAll, as the window's destruction does.
void stopGame();

// Positions, set on the started game's globals.
// In play, white to move, 10 pieces a side spread over the board, one white piece selected.
void setUpPlayWithTwentyPieces();
// All 300 squares occupied (sides in a checkerboard, levels 1 to 4 mixed), one piece selected
// and blinking, in play; `menuOver` opens the main menu over it.
void setUpFullBoard(bool menuOver);
