// A fixture for tests that run the game headless: a fresh working folder holding the generated
// pictures and sounds (and a sauv folder), the headless back end, and the game's globals as the
// process starts.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless.h"

class HeadlessGame : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh headless back end and the game as the process starts (SetUp does it once).
    void restartProcess();
    // The game's start-up; true when it succeeded.
    bool start();
    // Runs the message loop for `frames` frames (or until it has nothing more to do).
    // Returns the exit code when the program ended, -1 otherwise.
    int runFrames(int frames = 1);
    // Moves the mouse by (dx, dy) and/or presses or releases the left button, as records.
    void moveMouse(int dx, int dy);
    void pressLeft();
    void releaseLeft();
    // Moves the cursor to (x, y) in one frame, by records (works while the user has the cursor).
    void moveCursorTo(int x, int y);
    // Clicks at (x, y): move there, hold the button one frame, release it the next frame.
    void clickAt(int x, int y);
    // Sounds asked for so far, by SoundId (0 click, 1 move, 2 attack, 3 win), with their frames.
    std::vector<std::pair<int, int>> sounds() const;
    // Writes a file (relative to the working folder).
    void writeFile(const std::string& path, const std::string& contents);
    std::string readFile(const std::string& path) const;

    std::filesystem::path workDir;
    std::filesystem::path previousDir;
};
