// The initial placement and the reinforcements: who places, the prompts, the counters, and the
// hand-over to play.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "rules_fixture.h"

namespace {

class PlacementTest : public RulesGame {
  protected:
    void SetUp() override {
        RulesGame::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        resetGame();
        gameState.placementPhase = 1;
    }

    static void placeAt(int x, int y) {
        holdOver(x, y);
        updatePlacement();
    }
};

TEST_F(PlacementTest, TheSidesPlaceInTurnWhiteFirstAndThePromptNamesTheNextOne) {
    placeAt(3, 3);
    EXPECT_EQ(cellAt(3, 3).owner, PLAYER_WHITE);
    EXPECT_EQ(cellAt(3, 3).kills, 0);
    EXPECT_EQ(gameState.reserve[PLAYER_WHITE], 9);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
    EXPECT_EQ(text(), "Joueur2 (noir), placez un pion (il vous en reste 10)");

    // The button still held over the same square places nothing more.
    placeAt(3, 3);
    EXPECT_EQ(gameState.reserve[PLAYER_BLACK], 10);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
    EXPECT_EQ(text(), "Joueur2 (noir), placez un pion (il vous en reste 10)");

    // Dragging across empty squares puts one piece down per frame, alternately.
    placeAt(4, 3);
    placeAt(5, 3);
    placeAt(6, 3);
    EXPECT_EQ(cellAt(4, 3).owner, PLAYER_BLACK);
    EXPECT_EQ(cellAt(5, 3).owner, PLAYER_WHITE);
    EXPECT_EQ(cellAt(6, 3).owner, PLAYER_BLACK);
    EXPECT_EQ(text(), "Joueur1 (blanc), placez un pion (il vous en reste 8)");

    // With the button up the prompt stays.
    releaseButton();
    updatePlacement();
    EXPECT_EQ(text(), "Joueur1 (blanc), placez un pion (il vous en reste 8)");
    EXPECT_EQ(gameState.pieceCount, 4);
    EXPECT_TRUE(soundIds().empty()) << "placing makes no sound";
}

TEST_F(PlacementTest, BlacksTenthPieceOpensPlayForWhite) {
    gameState.onBoard[PLAYER_WHITE] = 3;
    gameState.onBoard[PLAYER_BLACK] = 4;
    for (int i = 0; i < 19; ++i) {
        placeAt(i % BOARD_COLUMNS, 2 + i / BOARD_COLUMNS);
        EXPECT_EQ(gameState.placementPhase, 1) << i;
        EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 3) << "counts are set only at the end";
    }
    placeAt(19, 2);
    EXPECT_EQ(gameState.reserve[PLAYER_WHITE], 0);
    EXPECT_EQ(gameState.reserve[PLAYER_BLACK], 0);
    EXPECT_EQ(gameState.placementPhase, 0);
    EXPECT_EQ(gameState.playPhase, 1);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE);
    EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 10);
    EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 10);
}

TEST_F(PlacementTest, InTheFrameOfTheLastPieceWhitesStatusLineIsDrawn) {
    runFrames(1);  // the first frame's own work
    resetGame();
    gameState.placementPhase = 1;
    gameState.reserve[PLAYER_WHITE] = 0;
    gameState.reserve[PLAYER_BLACK] = 1;
    gameState.currentPlayer = PLAYER_BLACK;
    moveCursorTo(8 * SQUARE_SIZE + 20, 8 * SQUARE_SIZE + 20);
    pressLeft();
    runFrames(1);
    EXPECT_EQ(cellAt(8, 8).owner, PLAYER_BLACK);
    EXPECT_EQ(gameState.playPhase, 1);
    EXPECT_EQ(text(), "Jouez, joueur1 (blanc), il vous reste 10 pion(s)");
}

TEST_F(PlacementTest, AReinforcementIsPlacedByTheSideThatHasJustPlayed) {
    struct Case {
        int reinforcing;
        const char* prompt;  // with %d for the reserve
    };
    const Case cases[] = {
        {PLAYER_WHITE, "Joueur1 (blanc), ajoutez un pion (il vous en reste %d)"},
        {PLAYER_BLACK, "Joueur2 (noir), ajoutez un pion (il vous en reste %d)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reinforcing);
        const int next = c.reinforcing == PLAYER_WHITE ? PLAYER_BLACK : PLAYER_WHITE;
        resetGame();
        ASSERT_TRUE(placePiece(1, 1, next, 0));
        gameState.placementPhase = 1;
        gameState.reinforcementPhase = 1;
        gameState.currentPlayer = static_cast<std::uint8_t>(next);
        gameState.reserve[c.reinforcing] = 2;
        gameState.reserve[next] = 0;
        gameState.onBoard[c.reinforcing] = 4;
        gameState.onBoard[next] = 6;
        auto prompt = [&](int reserve) {
            char expected[128];
            std::snprintf(expected, sizeof expected, c.prompt, reserve);
            return std::string(expected);
        };

        placeAt(1, 1);  // occupied: refused
        EXPECT_EQ(gameState.reserve[c.reinforcing], 2);
        EXPECT_EQ(text(), prompt(2));
        placeAt(2, 2);
        EXPECT_EQ(cellAt(2, 2).owner, c.reinforcing);
        EXPECT_EQ(gameState.reserve[c.reinforcing], 1);
        EXPECT_EQ(gameState.onBoard[c.reinforcing], 5);
        EXPECT_EQ(text(), prompt(1));
        EXPECT_EQ(gameState.placementPhase, 1);
        placeAt(3, 3);
        EXPECT_EQ(cellAt(3, 3).owner, c.reinforcing);
        EXPECT_EQ(gameState.onBoard[c.reinforcing], 6);
        EXPECT_EQ(text(), prompt(0));
        EXPECT_EQ(gameState.placementPhase, 0);
        EXPECT_EQ(gameState.reinforcementPhase, 0);
        EXPECT_EQ(gameState.playPhase, 1);
        EXPECT_EQ(gameState.currentPlayer, next) << "the opponent moves next";
        EXPECT_EQ(gameState.onBoard[next], 6);
    }
    EXPECT_TRUE(soundIds().empty());
}

}  // namespace
