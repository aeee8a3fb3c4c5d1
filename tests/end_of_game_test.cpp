// The end of a game: the pause of 100 frames after a side has lost its last piece, the result
// picture, the victory sound played once, and the pause timer carried into the next game.
#include "board/end_of_game.h"

#include <gtest/gtest.h>

#include <vector>

#include "board/board.h"
#include "picture_fixture.h"
#include "shell/timers.h"
#include "sound/sound_effects.h"

namespace hl = plat::headless;

namespace {

// Frame n of the test's result pictures (see picture_fixture.h).
std::uint16_t resultColour(int frame) {
    return rgb565(Rgb{static_cast<std::uint8_t>(40 * frame), 40, 40});
}

class EndOfGameTest : public PictureGame {
  protected:
    void SetUp() override {
        PictureGame::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        startOnBareBoard();
    }

    // A game in play, white to move: one white piece at (5, 5), one black piece at (6, 5).
    static void playLastPieces() {
        resetGame();
        ASSERT_TRUE(placePiece(5, 5, PLAYER_WHITE, 0));
        ASSERT_TRUE(placePiece(6, 5, PLAYER_BLACK, 0));
        gameState.playPhase = 1;
        gameState.onBoard[PLAYER_WHITE] = 1;
        gameState.onBoard[PLAYER_BLACK] = 1;
    }

    // One frame with the button held over square (x, y) (the cursor is the game's to set).
    int frameHolding(int x, int y) {
        gameState.cursorX = x * SQUARE_SIZE + 20;
        gameState.cursorY = y * SQUARE_SIZE + 20;
        gameState.leftButton = 1;
        runFrames(1);
        gameState.leftButton = 0;
        return hl::frameNumber();
    }

    // White selects its piece and jumps over black's last one; returns the frame of the jump.
    int captureLastBlackPiece() {
        frameHolding(5, 5);
        return frameHolding(7, 5);
    }

    // The frames in which the victory sound was asked for.
    std::vector<int> winFrames() const {
        std::vector<int> frames;
        for (const auto& [id, frame] : sounds()) {
            if (id == SOUND_WIN) {
                frames.push_back(frame);
            }
        }
        return frames;
    }
};

TEST_F(EndOfGameTest, TheResultComesAHundredFramesAfterTheLastCaptureWithOneVictorySound) {
    playLastPieces();
    const int last = captureLastBlackPiece();
    ASSERT_EQ(gameState.onBoard[PLAYER_BLACK], 0);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE) << "the capture does not end the turn";

    // The winner plays on during the pause.
    runFrames(48);
    frameHolding(7, 5);
    EXPECT_EQ(frameHolding(8, 5), last + 50);
    EXPECT_EQ(cellAt(8, 5).occupied, 1);
    runFrames(49);
    ASSERT_EQ(hl::frameNumber(), last + 99);
    EXPECT_EQ(gameState.gameOver, 0);
    EXPECT_EQ(gameState.playPhase, 1);
    EXPECT_TRUE(winFrames().empty());

    runFrames(1);
    EXPECT_EQ(gameState.gameOver, 1);
    EXPECT_EQ(gameState.playPhase, 0);
    EXPECT_EQ(shown(400, 300), resultColour(1)) << "white has won";
    runFrames(30);
    EXPECT_EQ(winFrames(), std::vector<int>{last + 100});
    EXPECT_EQ(shown(0, 0), resultColour(1));
    // Ready for the next game: loaded with 100 and stopped.
    EXPECT_EQ(timerBank.counters[TIMER_GAME_END], 100);
    EXPECT_EQ(timerBank.running[TIMER_GAME_END], 0);
}

TEST_F(EndOfGameTest, TheResultPictureFollowsTheTwoCounts) {
    struct Case {
        int white, black, frame;  // frame 0: nothing drawn
    };
    for (const Case& c : {Case{3, 0, 1}, Case{0, 2, 2}, Case{0, 0, 3}, Case{2, 2, 0}}) {
        SCOPED_TRACE(::testing::Message() << c.white << " against " << c.black);
        gameState.gameOver = 1;
        gameState.victorySoundPlayed = 0;
        gameState.onBoard[PLAYER_WHITE] = c.white;
        gameState.onBoard[PLAYER_BLACK] = c.black;
        runFrames(1);
        EXPECT_EQ(shown(400, 300), c.frame == 0 ? 0 : resultColour(c.frame));
        EXPECT_EQ(gameState.victorySoundPlayed, 1);
    }
    EXPECT_EQ(winFrames().size(), 4u);
}

TEST_F(EndOfGameTest, ANewGameStartedDuringThePauseEndsWithoutOne) {
    playLastPieces();
    const int last = captureLastBlackPiece();
    runFrames(10);
    // The new-game button, then a placement played out to this position.
    resetGame();
    gameState.placementPhase = 1;
    runFrames(5);
    playLastPieces();
    runFrames(150);
    EXPECT_EQ(gameState.gameOver, 0);
    EXPECT_EQ(timerBank.counters[TIMER_GAME_END], 0) << "run out and still running";
    EXPECT_EQ(timerBank.running[TIMER_GAME_END], 1);

    const int ending = captureLastBlackPiece();
    ASSERT_GT(ending, last + 100);
    EXPECT_EQ(gameState.gameOver, 1);
    EXPECT_EQ(winFrames(), std::vector<int>{ending});
    EXPECT_EQ(timerBank.counters[TIMER_GAME_END], 100);
    EXPECT_EQ(timerBank.running[TIMER_GAME_END], 0);
}

TEST_F(EndOfGameTest, TheMenuOpenedDuringThePauseDoesNotStopIt) {
    playLastPieces();
    const int last = captureLastBlackPiece();
    runFrames(20);
    gameState.menuVisible = 1;
    runFrames(80);
    EXPECT_EQ(gameState.gameOver, 1);
    EXPECT_EQ(winFrames(), std::vector<int>{last + 100});
}

TEST_F(EndOfGameTest, NoPauseStartsOutsideThePlayPhase) {
    resetGame();
    gameState.placementPhase = 1;
    gameState.reinforcementPhase = 1;
    gameState.onBoard[PLAYER_BLACK] = 0;
    checkEndOfGame();
    EXPECT_EQ(timerBank.running[TIMER_GAME_END], 0);
    EXPECT_EQ(gameState.gameOver, 0);
}

}  // namespace
