// The board model: the level rule, the board operations and what each leaves in a cell, and
// what a new game resets.
#include "board/board.h"

#include <gtest/gtest.h>

#include "board_compare.h"
#include "shell/timers.h"

namespace {

class BoardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetProcessState();
        clearBoard();
    }
};

TEST(BoardStart, ProcessStartsWithZeroCellsAndTheStartValues) {
    resetProcessState();
    for (const Cell& cell : board.cells) {
        EXPECT_EQ(cell.occupied, 0);
        EXPECT_EQ(cell.movesPerTurn, 0);
    }
    EXPECT_EQ(gameState.cursorX, 390);
    EXPECT_EQ(gameState.cursorY, 290);
    EXPECT_EQ(gameState.cursorUserControlled, 1);
    EXPECT_EQ(gameState.piecesPerPlayer, 10);
    EXPECT_EQ(gameState.blinkPeriod, 25);
    EXPECT_EQ(gameState.blinkCounter, 25);
    EXPECT_EQ(gameState.reserve[PLAYER_WHITE], 10);
    EXPECT_EQ(gameState.reserve[PLAYER_BLACK], 10);
    EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 10);
    EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 10);
    EXPECT_EQ(gameState.menuVisible, 1);
    EXPECT_EQ(gameState.demoOkPromptVisible, 1);
    EXPECT_EQ(gameState.demoTargetX, -1);
    EXPECT_EQ(gameState.demoTargetY, -1);
    EXPECT_EQ(gameState.playPhase, 0);
    EXPECT_EQ(gameState.placementPhase, 0);
    EXPECT_EQ(gameState.firstFrameDone, 0);
}

TEST_F(BoardTest, SquareUnderCursorIsTheCursorDividedBySquares) {
    struct Case {
        int x, y, column, row;
    };
    for (const Case c : {Case{1, 1, 0, 0}, Case{39, 39, 0, 0}, Case{40, 40, 1, 1},
                         Case{390, 290, 9, 7}, Case{779, 579, 19, 14}}) {
        gameState.cursorX = c.x;
        gameState.cursorY = c.y;
        const Square square = squareUnderCursor();
        EXPECT_EQ(square.x, c.column) << c.x;
        EXPECT_EQ(square.y, c.row) << c.y;
    }
}

TEST_F(BoardTest, CellsAreStoredColumnMajor) {
    EXPECT_EQ(&cellAt(0, 1), &board.cells[1]);
    EXPECT_EQ(&cellAt(1, 0), &board.cells[15]);
    EXPECT_EQ(&cellAt(19, 14), &board.cells[299]);
}

TEST_F(BoardTest, LevelAndMovesPerTurnFollowKills) {
    struct Case {
        int kills, level, movesPerTurn;
    };
    // Starting from a piece with one move per turn.
    const Case cases[] = {{0, 1, 1}, {2, 1, 1}, {3, 2, 1}, {4, 2, 1},
                          {5, 3, 2}, {6, 3, 2}, {7, 4, 3}, {30, 4, 3}};
    for (const Case& c : cases) {
        clearBoard();
        ASSERT_TRUE(placePiece(4, 4, PLAYER_BLACK, c.kills));
        EXPECT_EQ(cellAt(4, 4).level, 0) << "a new piece has level 0 until the next pass";
        updateLevels();
        EXPECT_EQ(cellAt(4, 4).level, c.level) << "kills " << c.kills;
        EXPECT_EQ(cellAt(4, 4).movesPerTurn, c.movesPerTurn) << "kills " << c.kills;
        removePiece(4, 4);
    }
}

TEST_F(BoardTest, LoweringKillsKeepsTheMovesOfTheHigherLevelBelowLevelThree) {
    ASSERT_TRUE(placePiece(2, 3, PLAYER_WHITE, 7));
    updateLevels();
    ASSERT_EQ(cellAt(2, 3).movesPerTurn, 3);
    markPiece(2, 3, -1, 0, 0);
    updateLevels();
    EXPECT_EQ(cellAt(2, 3).level, 1);
    EXPECT_EQ(cellAt(2, 3).movesPerTurn, 3);
    markPiece(2, 3, -1, 0, 5);
    updateLevels();
    EXPECT_EQ(cellAt(2, 3).level, 3);
    EXPECT_EQ(cellAt(2, 3).movesPerTurn, 2);
}

TEST_F(BoardTest, LevelRuleLeavesNegativeKillsAndEmptySquaresAlone) {
    ASSERT_TRUE(placePiece(1, 1, PLAYER_WHITE, -4));
    cellAt(1, 1).level = 3;
    Cell& empty = cellAt(2, 2);
    empty.kills = 9;
    empty.level = 1;
    updateLevels();
    EXPECT_EQ(cellAt(1, 1).level, 3);
    EXPECT_EQ(empty.level, 1);
    EXPECT_EQ(empty.movesPerTurn, 1);
}

TEST_F(BoardTest, PlacePieceFillsAnEmptySquareAndRefusesAnOccupiedOne) {
    Cell& cell = cellAt(6, 7);
    cell.highlighted = 1;
    cell.movesPerTurn = 3;  // left by a level-4 piece captured there
    ASSERT_TRUE(placePiece(6, 7, PLAYER_BLACK, 2));
    EXPECT_EQ(cell.owner, PLAYER_BLACK);
    EXPECT_EQ(cell.pieceId, 0);
    EXPECT_EQ(cell.occupied, 1);
    EXPECT_EQ(cell.kills, 2);
    EXPECT_EQ(cell.level, 0);
    EXPECT_EQ(cell.movesLeft, 1);
    EXPECT_EQ(cell.movesPerTurn, 1) << "a new piece starts with one move per turn";
    EXPECT_EQ(cell.highlighted, 0);
    EXPECT_EQ(gameState.pieceCount, 1);

    const Cell before = cell;
    EXPECT_FALSE(placePiece(6, 7, PLAYER_WHITE, 0));
    EXPECT_TRUE(sameCell(before, cell));
    EXPECT_EQ(gameState.pieceCount, 1);
}

TEST_F(BoardTest, RemovePieceEmptiesTheSquareButKeepsItsMovesPerTurn) {
    ASSERT_TRUE(placePiece(3, 3, PLAYER_WHITE, 7));
    updateLevels();
    cellAt(3, 3).highlighted = 1;
    ASSERT_TRUE(removePiece(3, 3));
    const Cell& cell = cellAt(3, 3);
    EXPECT_EQ(cell.owner, -1);
    EXPECT_EQ(cell.pieceId, -1);
    EXPECT_EQ(cell.occupied, -1);
    EXPECT_EQ(cell.kills, 0);
    EXPECT_EQ(cell.level, 0);
    EXPECT_EQ(cell.movesLeft, 1);
    EXPECT_EQ(cell.movesPerTurn, 3);
    EXPECT_EQ(cell.highlighted, 0);
    EXPECT_EQ(gameState.pieceCount, 0);

    EXPECT_FALSE(removePiece(3, 3));
    EXPECT_EQ(gameState.pieceCount, 0);
}

TEST_F(BoardTest, PieceIdsRepeatOnceAPieceIsRemoved) {
    ASSERT_TRUE(placePiece(0, 0, PLAYER_WHITE, 0));
    ASSERT_TRUE(placePiece(1, 0, PLAYER_BLACK, 0));
    ASSERT_TRUE(removePiece(0, 0));
    ASSERT_TRUE(placePiece(2, 0, PLAYER_WHITE, 0));
    EXPECT_EQ(cellAt(1, 0).pieceId, 1);
    EXPECT_EQ(cellAt(2, 0).pieceId, 1);
}

TEST_F(BoardTest, MarkPieceChangesOnlyWhatItIsGiven) {
    ASSERT_TRUE(placePiece(5, 5, PLAYER_WHITE, 4));
    Cell expected = cellAt(5, 5);
    ASSERT_TRUE(markPiece(5, 5, -1, 1, -1));
    expected.highlighted = 1;
    EXPECT_TRUE(sameCell(expected, cellAt(5, 5)));

    ASSERT_TRUE(markPiece(5, 5, PLAYER_BLACK, 0, 6));
    EXPECT_EQ(cellAt(5, 5).owner, PLAYER_BLACK);
    EXPECT_EQ(cellAt(5, 5).kills, 6);
    EXPECT_EQ(cellAt(5, 5).highlighted, 0);

    const Cell empty = cellAt(6, 6);
    EXPECT_FALSE(markPiece(6, 6, PLAYER_WHITE, 1, 3));
    EXPECT_TRUE(sameCell(empty, cellAt(6, 6)));
}

TEST_F(BoardTest, ClearBoardEmptiesEverySquareButLeavesStaleFields) {
    ASSERT_TRUE(placePiece(8, 9, PLAYER_BLACK, 7));
    updateLevels();
    cellAt(8, 9).highlighted = 1;
    cellAt(8, 9).movesLeft = 3;
    clearBoard();
    for (const Cell& cell : board.cells) {
        EXPECT_EQ(cell.occupied, -1);
        EXPECT_EQ(cell.movesLeft, 1);
        EXPECT_EQ(cell.movesPerTurn, 1);
    }
    const Cell& stale = cellAt(8, 9);
    EXPECT_EQ(stale.owner, PLAYER_BLACK);
    EXPECT_EQ(stale.pieceId, 0);
    EXPECT_EQ(stale.kills, 7);
    EXPECT_EQ(stale.level, 4);
    EXPECT_EQ(stale.highlighted, 1);
    EXPECT_EQ(gameState.pieceCount, 1) << "clearBoard does not count pieces";
}

TEST_F(BoardTest, ResetGamePreparesANewGameAndLeavesTheRestAlone) {
    GameState& s = gameState;
    s.reserve[0] = 0;
    s.reserve[1] = 3;
    s.onBoard[0] = 2;
    s.onBoard[1] = 0;
    s.menuVisible = s.playPhase = s.gameOver = s.demoMode = s.selectionActive = 1;
    s.currentPlayer = PLAYER_BLACK;
    s.pieceCount = 17;
    s.capturesThisTurn = 2;
    s.victorySoundPlayed = s.reinforcementPhase = s.saveScreenActive = s.placementPhase = 1;
    s.demoState = 3;
    s.demoStep = 2;
    s.demoOkPromptVisible = 0;
    s.clickLatch = 1;
    s.demoTargetX = s.demoTargetY = 100;
    // Left as they are.
    s.selectedX = 7;
    s.selectedY = 9;
    s.blinkCounter = 4;
    s.blinkHidden = 1;
    s.loadScreenActive = 1;
    s.firstFrameDone = 1;
    s.fileNameLength = 2;
    s.demoReturnX = 11;
    s.demoReturnY = 12;
    s.demoStepArmed = 1;
    s.demoClickDone = 1;
    resetTimers();
    setTimer(TIMER_GAME_END, 37);
    startTimer(TIMER_GAME_END);
    ASSERT_TRUE(placePiece(4, 4, PLAYER_WHITE, 0));

    resetGame();

    EXPECT_EQ(s.reserve[0], 10);
    EXPECT_EQ(s.reserve[1], 10);
    EXPECT_EQ(s.onBoard[0], 10);
    EXPECT_EQ(s.onBoard[1], 10);
    EXPECT_EQ(s.menuVisible, 0);
    EXPECT_EQ(s.currentPlayer, PLAYER_WHITE);
    EXPECT_EQ(s.playPhase + s.gameOver + s.demoMode + s.selectionActive, 0);
    EXPECT_EQ(s.pieceCount, 0);
    EXPECT_EQ(s.capturesThisTurn, 0);
    EXPECT_EQ(s.victorySoundPlayed + s.reinforcementPhase + s.saveScreenActive + s.placementPhase,
              0);
    EXPECT_EQ(cellAt(4, 4).occupied, -1);
    EXPECT_EQ(s.demoState, 0);
    EXPECT_EQ(s.demoStep, 0);
    EXPECT_EQ(s.demoOkPromptVisible, 1);
    EXPECT_EQ(s.clickLatch, 0);
    EXPECT_EQ(s.demoTargetX, -1);
    EXPECT_EQ(s.demoTargetY, -1);

    EXPECT_EQ(s.selectedX, 7);
    EXPECT_EQ(s.selectedY, 9);
    EXPECT_EQ(s.blinkCounter, 4);
    EXPECT_EQ(s.blinkHidden, 1);
    EXPECT_EQ(s.loadScreenActive, 1);
    EXPECT_EQ(s.firstFrameDone, 1);
    EXPECT_EQ(s.fileNameLength, 2);
    EXPECT_EQ(s.demoReturnX, 11);
    EXPECT_EQ(s.demoReturnY, 12);
    EXPECT_EQ(s.demoStepArmed, 1);
    EXPECT_EQ(s.demoClickDone, 1);
    EXPECT_EQ(timerBank.counters[TIMER_GAME_END], 37);
    EXPECT_EQ(timerBank.running[TIMER_GAME_END], 1);
}

}  // namespace
