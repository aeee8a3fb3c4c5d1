// A started headless game for the rules' tests: the game's own start-up with small test sounds
// (so that the sounds asked for can be checked), the board cleared and the menu closed. The
// tests then either call the rules' sections directly or run whole frames.
#pragma once

#include <string>
#include <vector>

#include "board/board.h"
#include "board/end_of_game.h"
#include "board/placement.h"
#include "board/play.h"
#include "test_support.h"
#include "wave_builder.h"

class RulesGame : public HeadlessGame {
  protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        wave_builder::writeGameWaves(workDir);
        ASSERT_TRUE(start());
        clearBoard();
        gameState.menuVisible = 0;
    }

    // The cursor in the middle of square (x, y), the button held, as the input section leaves
    // them for the rest of a frame.
    static void holdOver(int x, int y) {
        gameState.cursorX = x * SQUARE_SIZE + SQUARE_SIZE / 2;
        gameState.cursorY = y * SQUARE_SIZE + SQUARE_SIZE / 2;
        gameState.leftButton = 1;
    }
    static void releaseButton() { gameState.leftButton = 0; }

    // The play section of one frame, with the levels brought up to date first as the board
    // drawing does.
    static void playFrame() {
        updateLevels();
        updatePlay();
    }
    // Holds the button over (x, y) for one play frame.
    static void clickSquare(int x, int y) {
        holdOver(x, y);
        playFrame();
    }

    // The SoundIds asked for so far, in order.
    std::vector<int> soundIds() const {
        std::vector<int> ids;
        for (const auto& [id, frame] : sounds()) {
            ids.push_back(id);
        }
        return ids;
    }

    // Starts the play phase with white to move and the given counts.
    static void startPlay(int whiteOnBoard = 10, int blackOnBoard = 10) {
        gameState.playPhase = 1;
        gameState.placementPhase = 0;
        gameState.currentPlayer = PLAYER_WHITE;
        gameState.onBoard[PLAYER_WHITE] = whiteOnBoard;
        gameState.onBoard[PLAYER_BLACK] = blackOnBoard;
    }

    static std::string text() { return textBuffer; }
};
