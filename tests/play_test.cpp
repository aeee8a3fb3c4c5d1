// The play phase: the capture table, steps, the turn change with its refills and
// reinforcements, the selection and its click sound, the status line, and no move from a square
// that its piece has left.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board_compare.h"
#include "rules_fixture.h"
#include "sound/sound_effects.h"

namespace {

// Kills that give each level (index = level).
constexpr int kKillsFor[5] = {0, 0, 3, 5, 7};

// The jumps in the order the game tries them: the level they need, their direction, and how
// far they land (2: over one enemy, 3: over two).
struct Jump {
    int level;
    int dx;
    int dy;
    int distance;
};
constexpr Jump kJumps[CAPTURE_PATTERN_COUNT] = {
    {1, -1, 0, 2},  {1, +1, 0, 2},  {1, 0, +1, 2},  {1, 0, -1, 2},  {2, -1, -1, 2}, {2, +1, +1, 2},
    {2, -1, +1, 2}, {2, +1, -1, 2}, {3, -1, 0, 3},  {3, +1, 0, 3},  {3, 0, +1, 3},  {3, 0, -1, 3},
    {4, -1, -1, 3}, {4, +1, +1, 3}, {4, -1, +1, 3}, {4, +1, -1, 3},
};

constexpr Square kS{10, 7};

int other(int side) {
    return side == PLAYER_WHITE ? PLAYER_BLACK : PLAYER_WHITE;
}

class PlayTest : public RulesGame {
  protected:
    void SetUp() override {
        RulesGame::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        startPlay();
    }

    // Places a piece and gives it the level and moves of its kills at once.
    static void put(int x, int y, int owner, int kills = 0) {
        ASSERT_TRUE(placePiece(x, y, owner, kills));
        updateCellLevel(cellAt(x, y));
    }

    // Hands the turn over twice, so that every piece has its full moves for the turn.
    static void refillMoves() {
        endTurn();
        endTurn();
    }

    std::size_t soundCount() const { return soundIds().size(); }
    std::vector<int> soundsSince(std::size_t start) const {
        const std::vector<int> all = soundIds();
        return std::vector<int>(all.begin() + static_cast<long>(start), all.end());
    }
};

TEST_F(PlayTest, CaptureTableHoldsTheSixteenJumpsInOrder) {
    for (int i = 0; i < CAPTURE_PATTERN_COUNT; ++i) {
        const CapturePattern& row = capturePatterns[i];
        const Jump& jump = kJumps[i];
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(row.level, jump.level);
        EXPECT_EQ(row.landingDx, jump.dx * jump.distance);
        EXPECT_EQ(row.landingDy, jump.dy * jump.distance);
        ASSERT_EQ(row.enemyCount, jump.distance - 1);
        for (int k = 0; k < row.enemyCount; ++k) {
            EXPECT_EQ(row.enemyDx[k], jump.dx * (k + 1));
            EXPECT_EQ(row.enemyDy[k], jump.dy * (k + 1));
        }
    }
}

// What stands between the mover and the landing square in one case of the table test.
enum class Between { Enemies, OwnPiece, EmptySquare };

struct JumpCase {
    int row;
    int side;
    int level;
    Between between;
    int odd;  // which square in between holds the own piece or is empty
};

std::string describe(const JumpCase& c) {
    const char* between[] = {"enemies", "own piece", "empty square"};
    return "row " + std::to_string(c.row + 1) + (c.side == PLAYER_WHITE ? ", white" : ", black") +
           ", level " + std::to_string(c.level) + ", " + between[static_cast<int>(c.between)] +
           " at " + std::to_string(c.odd + 1);
}

TEST_F(PlayTest, EachJumpCapturesFromItsLevelOnlyOverEnemies) {
    std::vector<JumpCase> cases;
    for (int row = 0; row < CAPTURE_PATTERN_COUNT; ++row) {
        for (int side : {PLAYER_WHITE, PLAYER_BLACK}) {
            const Jump& jump = kJumps[row];
            cases.push_back({row, side, jump.level, Between::Enemies, 0});
            cases.push_back({row, side, jump.level - 1, Between::Enemies, 0});
            for (int odd = 0; odd < jump.distance - 1; ++odd) {
                cases.push_back({row, side, 4, Between::OwnPiece, odd});
                cases.push_back({row, side, 4, Between::EmptySquare, odd});
            }
        }
    }
    for (const JumpCase& c : cases) {
        SCOPED_TRACE(describe(c));
        const Jump& jump = kJumps[c.row];
        const int enemy = other(c.side);
        clearBoard();
        gameState.selectionActive = 0;
        gameState.currentPlayer = static_cast<std::uint8_t>(c.side);
        gameState.capturesThisTurn = 0;
        gameState.onBoard[PLAYER_WHITE] = gameState.onBoard[PLAYER_BLACK] = 10;
        if (c.level > 0) {
            put(kS.x, kS.y, c.side, kKillsFor[c.level]);
        } else {
            continue;  // there is no level below 1
        }
        for (int k = 1; k < jump.distance; ++k) {
            const int x = kS.x + jump.dx * k;
            const int y = kS.y + jump.dy * k;
            if (c.between == Between::Enemies || k - 1 != c.odd) {
                put(x, y, enemy);
            } else if (c.between == Between::OwnPiece) {
                put(x, y, c.side);
            }
        }
        const Square target{kS.x + jump.dx * jump.distance, kS.y + jump.dy * jump.distance};
        clickSquare(kS.x, kS.y);
        const Cell mover = cellAt(kS.x, kS.y);
        const Board before = board;
        const std::size_t start = soundCount();

        clickSquare(target.x, target.y);

        const bool captures = c.between == Between::Enemies && c.level >= jump.level;
        if (!captures) {
            EXPECT_EQ(firstDifference(before, board), kNoSquare);
            EXPECT_TRUE(soundsSince(start).empty());
            EXPECT_EQ(gameState.onBoard[enemy], 10);
            EXPECT_EQ(gameState.capturesThisTurn, 0);
            continue;
        }
        const int taken = jump.distance - 1;
        const Cell& landed = cellAt(target.x, target.y);
        EXPECT_EQ(landed.occupied, 1);
        EXPECT_EQ(landed.owner, c.side);
        EXPECT_EQ(landed.kills, mover.kills + taken);
        EXPECT_EQ(landed.movesLeft, mover.movesLeft) << "a capture costs no move";
        // The squares left behind are only emptied: they keep what stood there.
        EXPECT_EQ(cellAt(kS.x, kS.y).occupied, -1);
        EXPECT_EQ(cellAt(kS.x, kS.y).owner, c.side);
        EXPECT_EQ(cellAt(kS.x, kS.y).level, mover.level);
        for (int k = 1; k < jump.distance; ++k) {
            const Cell& jumped = cellAt(kS.x + jump.dx * k, kS.y + jump.dy * k);
            EXPECT_EQ(jumped.occupied, -1);
            EXPECT_EQ(jumped.owner, enemy);
        }
        EXPECT_EQ(gameState.onBoard[enemy], 10 - taken);
        EXPECT_EQ(gameState.onBoard[c.side], 10);
        EXPECT_EQ(gameState.capturesThisTurn, 1) << "a double capture counts once";
        EXPECT_EQ(gameState.currentPlayer, c.side) << "a capture does not end the turn";
        EXPECT_EQ(gameState.selectionActive, 1);
        EXPECT_EQ(soundsSince(start), std::vector<int>{SOUND_ATTACK});
    }
}

TEST_F(PlayTest, APieceStepsToAnyOfItsEightNeighboursAndItsLastMoveEndsTheTurn) {
    const Square neighbours[] = {{+1, 0},  {-1, 0},  {0, +1},  {0, -1},
                                 {-1, -1}, {+1, +1}, {-1, +1}, {+1, -1}};
    for (const Square offset : neighbours) {
        SCOPED_TRACE(::testing::Message() << "offset " << offset);
        clearBoard();
        resetGame();
        startPlay();
        put(kS.x, kS.y, PLAYER_WHITE, 2);
        const int pieceCount = gameState.pieceCount;
        clickSquare(kS.x, kS.y);
        const Cell mover = cellAt(kS.x, kS.y);
        const std::size_t start = soundCount();

        clickSquare(kS.x + offset.x, kS.y + offset.y);

        const Cell& moved = cellAt(kS.x + offset.x, kS.y + offset.y);
        EXPECT_TRUE(sameCell(moved, mover)) << "the whole piece goes along";
        const Cell& left = cellAt(kS.x, kS.y);
        EXPECT_EQ(left.occupied, -1);
        EXPECT_EQ(left.owner, -1);
        EXPECT_EQ(gameState.pieceCount, pieceCount - 1);
        EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
        EXPECT_EQ(gameState.selectionActive, 0);
        EXPECT_EQ(soundsSince(start), std::vector<int>{SOUND_MOVE});
    }
}

TEST_F(PlayTest, ClicksThatFitNoRuleChangeNothing) {
    put(kS.x, kS.y, PLAYER_WHITE);
    put(kS.x + 1, kS.y, PLAYER_BLACK);
    put(kS.x, kS.y + 1, PLAYER_BLACK);
    put(kS.x, kS.y + 2, PLAYER_BLACK);
    put(kS.x - 1, kS.y + 1, PLAYER_BLACK);
    put(kS.x - 1, kS.y - 1, PLAYER_WHITE, 5);
    // With nothing selected: an enemy piece, an empty square.
    for (const Square click : {Square{kS.x + 1, kS.y}, Square{kS.x - 1, kS.y}}) {
        const Board before = board;
        clickSquare(click.x, click.y);
        EXPECT_EQ(firstDifference(before, board), kNoSquare) << click;
        EXPECT_EQ(gameState.selectionActive, 0);
    }
    clickSquare(kS.x, kS.y);
    const std::size_t start = soundCount();
    // With a level-1 piece selected: an enemy piece, an empty square two away over nothing, a
    // two-enemy jump and a diagonal jump it has not the level for, a knight's move, a far square.
    const Square clicks[] = {{kS.x + 1, kS.y},     {kS.x - 2, kS.y},     {kS.x, kS.y + 3},
                             {kS.x - 2, kS.y + 2}, {kS.x + 1, kS.y + 2}, {kS.x + 5, kS.y + 5}};
    for (const Square click : clicks) {
        const Board before = board;
        clickSquare(click.x, click.y);
        EXPECT_EQ(firstDifference(before, board), kNoSquare) << click;
        EXPECT_EQ(gameState.selectionActive, 1);
        EXPECT_EQ(gameState.selectedX, kS.x);
        EXPECT_EQ(gameState.selectedY, kS.y);
        EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE);
    }
    EXPECT_TRUE(soundsSince(start).empty());
}

TEST_F(PlayTest, ALevelFourPieceStepsThreeTimesAndIsPickedUpAgainUnderTheHeldButton) {
    put(5, 5, PLAYER_WHITE, 7);
    put(15, 10, PLAYER_BLACK);
    refillMoves();
    ASSERT_EQ(cellAt(5, 5).movesLeft, 3);
    const std::size_t start = soundCount();

    clickSquare(5, 5);
    clickSquare(6, 5);  // first step
    EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE);
    EXPECT_EQ(cellAt(6, 5).movesLeft, 2);
    clickSquare(6, 5);  // the held button picks the piece up on its new square
    EXPECT_EQ(gameState.selectedX, 6);
    clickSquare(6, 5);  // the status line now shows it
    EXPECT_NE(text().find("[2 mouvement(s)]"), std::string::npos) << text();
    clickSquare(7, 5);  // second step
    clickSquare(7, 5);
    clickSquare(8, 5);  // the third ends the turn
    EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
    EXPECT_EQ(gameState.selectionActive, 0);
    EXPECT_EQ(cellAt(8, 5).movesLeft, 3) << "refilled at the turn change";
    EXPECT_EQ(soundsSince(start), (std::vector<int>{SOUND_CLICK, SOUND_MOVE, SOUND_CLICK,
                                                    SOUND_MOVE, SOUND_CLICK, SOUND_MOVE}));
}

TEST_F(PlayTest, AStepOnAnyPiecesLastMoveEndsTheTurnAndRefillsEveryPiece) {
    put(3, 3, PLAYER_WHITE, 5);   // level 3: two moves
    put(9, 9, PLAYER_WHITE);      // level 1
    put(14, 4, PLAYER_BLACK, 5);  // level 3, one move spent
    refillMoves();
    cellAt(14, 4).movesLeft = 1;

    clickSquare(3, 3);
    clickSquare(4, 4);  // an extra step
    EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE);
    EXPECT_EQ(cellAt(4, 4).movesLeft, 1);
    releaseButton();
    playFrame();
    clickSquare(9, 9);
    clickSquare(9, 10);  // the level-1 piece's only move
    EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
    EXPECT_EQ(cellAt(4, 4).movesLeft, 2);
    EXPECT_EQ(cellAt(9, 10).movesLeft, 1);
    EXPECT_EQ(cellAt(14, 4).movesLeft, 2);
}

TEST_F(PlayTest, CapturesAreFreeAndTwoOfThemEarnAReinforcementAfterTheStep) {
    put(2, 2, PLAYER_WHITE);
    put(3, 2, PLAYER_BLACK);
    put(4, 3, PLAYER_BLACK);
    put(12, 12, PLAYER_BLACK);

    clickSquare(2, 2);
    clickSquare(4, 2);  // over (3, 2)
    clickSquare(4, 2);  // picked up again
    clickSquare(4, 4);  // over (4, 3)
    EXPECT_EQ(gameState.capturesThisTurn, 2);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE);
    EXPECT_EQ(cellAt(4, 4).movesLeft, 1);
    EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 8);
    clickSquare(4, 4);
    clickSquare(5, 5);  // the step ends the turn
    EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
    EXPECT_EQ(gameState.playPhase, 0);
    EXPECT_EQ(gameState.placementPhase, 1);
    EXPECT_EQ(gameState.reinforcementPhase, 1);
    EXPECT_EQ(gameState.reserve[PLAYER_WHITE], 1);
    EXPECT_EQ(gameState.capturesThisTurn, 0);

    // White puts the new piece down, then black moves.
    clickSquare(5, 5);  // still held over the piece: nothing placed
    updatePlacement();
    EXPECT_EQ(gameState.reserve[PLAYER_WHITE], 1);
    holdOver(0, 14);
    updatePlacement();
    EXPECT_EQ(cellAt(0, 14).owner, PLAYER_WHITE);
    EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 11);
    EXPECT_EQ(gameState.playPhase, 1);
    EXPECT_EQ(gameState.placementPhase, 0);
    EXPECT_EQ(gameState.reinforcementPhase, 0);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
}

TEST_F(PlayTest, ReinforcementIsHalfTheCapturesOfTheTurnForTheSideThatPlayed) {
    struct Case {
        int side;
        int captures;
        int reinforcement;  // 0: none, play goes on
    };
    const Case cases[] = {{PLAYER_WHITE, 0, 0}, {PLAYER_WHITE, 1, 0}, {PLAYER_WHITE, 2, 1},
                          {PLAYER_WHITE, 3, 1}, {PLAYER_WHITE, 4, 2}, {PLAYER_WHITE, 5, 2},
                          {PLAYER_WHITE, 6, 3}, {PLAYER_WHITE, 7, 3}, {PLAYER_BLACK, 4, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "side " << c.side << ", captures " << c.captures);
        clearBoard();
        resetGame();
        startPlay();
        gameState.currentPlayer = static_cast<std::uint8_t>(c.side);
        gameState.reserve[PLAYER_WHITE] = gameState.reserve[PLAYER_BLACK] = 5;
        put(7, 7, c.side);
        clickSquare(7, 7);
        gameState.capturesThisTurn = c.captures;
        clickSquare(8, 8);
        EXPECT_EQ(gameState.currentPlayer, other(c.side));
        EXPECT_EQ(gameState.capturesThisTurn, 0);
        if (c.reinforcement == 0) {
            EXPECT_EQ(gameState.playPhase, 1);
            EXPECT_EQ(gameState.placementPhase, 0);
            EXPECT_EQ(gameState.reserve[c.side], 5);
        } else {
            EXPECT_EQ(gameState.playPhase, 0);
            EXPECT_EQ(gameState.placementPhase, 1);
            EXPECT_EQ(gameState.reinforcementPhase, 1);
            EXPECT_EQ(gameState.reserve[c.side], c.reinforcement) << "stored, not added";
        }
        EXPECT_EQ(gameState.reserve[other(c.side)], 5);
    }
}

TEST_F(PlayTest, NothingMovesFromTheSquareAPieceHasJustLeftByAStep) {
    put(5, 5, PLAYER_WHITE, 5);
    put(15, 5, PLAYER_BLACK);
    refillMoves();
    clickSquare(5, 5);
    clickSquare(5, 6);  // an extra step: one move left, the selection still names (5, 5)
    releaseButton();
    playFrame();
    const Board before = board;
    const std::size_t start = soundCount();

    clickSquare(4, 4);  // an empty neighbour of the vacated square

    EXPECT_EQ(firstDifference(before, board), kNoSquare);
    EXPECT_TRUE(soundsSince(start).empty());
    EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE) << "no turn ends without a piece moving";
    EXPECT_EQ(gameState.selectionActive, 1);
}

TEST_F(PlayTest, NothingMovesFromTheSquareAPieceHasJustLeftByACapture) {
    put(5, 5, PLAYER_WHITE, 3);  // level 2
    put(6, 5, PLAYER_BLACK);
    put(4, 4, PLAYER_BLACK);
    clickSquare(5, 5);
    clickSquare(7, 5);  // capture: (5, 5) is emptied but keeps the capturer's level and moves
    releaseButton();
    playFrame();
    const Board before = board;
    const int blackOnBoard = gameState.onBoard[PLAYER_BLACK];
    const std::size_t start = soundCount();

    clickSquare(3, 3);  // a diagonal jump over (4, 4) from the vacated square
    clickSquare(5, 4);  // a step from it

    EXPECT_EQ(firstDifference(before, board), kNoSquare);
    EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], blackOnBoard);
    EXPECT_EQ(gameState.capturesThisTurn, 1);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE);
    EXPECT_TRUE(soundsSince(start).empty());
}

TEST_F(PlayTest, TheClickSoundPlaysOnlyWhenANewSquareIsSelected) {
    put(2, 2, PLAYER_WHITE);
    put(6, 6, PLAYER_WHITE);
    gameState.blinkPeriod = 25;
    gameState.blinkCounter = 7;

    clickSquare(2, 2);
    EXPECT_EQ(gameState.blinkCounter, 7) << "a first selection leaves the blink running";
    for (int frame = 0; frame < 5; ++frame) {
        gameState.blinkCounter = 3;
        clickSquare(2, 2);  // held: the blink starts over, no new sound
        EXPECT_EQ(gameState.blinkCounter, 25);
    }
    EXPECT_EQ(cellAt(2, 2).highlighted, 0) << "re-selecting the same square clears its mark";
    clickSquare(6, 6);
    EXPECT_EQ(cellAt(2, 2).highlighted, 0);
    EXPECT_EQ(cellAt(6, 6).highlighted, 1);
    clickSquare(2, 2);
    EXPECT_EQ(soundIds(), (std::vector<int>{SOUND_CLICK, SOUND_CLICK, SOUND_CLICK}));
}

TEST_F(PlayTest, SelectingTheLastRecordedSquareAgainIsSilent) {
    // At the start of a game the recorded square is (0, 0) (or the previous game's).
    put(0, 0, PLAYER_WHITE);
    gameState.selectedX = gameState.selectedY = 0;
    clickSquare(0, 0);
    EXPECT_EQ(gameState.selectionActive, 1);
    EXPECT_TRUE(soundIds().empty());
}

TEST_F(PlayTest, AnEmptySquareIsNeverSelectedWhateverItsStaleOwner) {
    put(4, 4, PLAYER_WHITE);
    ASSERT_TRUE(removePiece(4, 4));
    cellAt(4, 4).owner = PLAYER_WHITE;
    clickSquare(4, 4);
    EXPECT_EQ(gameState.selectionActive, 0);
    EXPECT_TRUE(soundIds().empty());
}

TEST_F(PlayTest, TheStatusLineNamesThePlayerAndTheSelectedPiece) {
    struct Case {
        int side;
        bool selected;
        const char* text;
    };
    const Case cases[] = {
        {PLAYER_WHITE, false, "Jouez, joueur1 (blanc), il vous reste 7 pion(s)"},
        {PLAYER_WHITE, true,
         "Jouez, joueur1 (blanc), il vous reste 7 pion(s) [2 mouvement(s)] Pion s\xE9"
         "lectionn\xE9"
         " : Niveau3, Tu\xE9"
         "s6"},
        {PLAYER_BLACK, false, "Jouez, joueur2 (noir), il vous reste 4 pion(s)"},
        {PLAYER_BLACK, true,
         "Jouez, joueur2 (noir), il vous reste 4 pion(s) [2 mouvement(s)] Pion s\xE9"
         "lectionn\xE9"
         " : Niveau3, Tu\xE9"
         "s6"},
    };
    for (const Case& c : cases) {
        clearBoard();
        startPlay(7, 4);
        gameState.currentPlayer = static_cast<std::uint8_t>(c.side);
        gameState.selectionActive = 0;
        put(9, 9, c.side, 6);
        refillMoves();
        if (c.selected) {
            clickSquare(9, 9);
        }
        releaseButton();
        playFrame();
        EXPECT_EQ(text(), c.text);
    }
}

TEST_F(PlayTest, TheStatusLineShowsTheStateTheFrameFound) {
    put(9, 9, PLAYER_WHITE);
    clickSquare(9, 9);
    EXPECT_EQ(text(), "Jouez, joueur1 (blanc), il vous reste 10 pion(s)");
}

TEST_F(PlayTest, NothingHappensOutsideThePlayPhaseOrUnderAMenuOrScreen) {
    put(9, 9, PLAYER_WHITE);
    std::uint8_t* flags[] = {&gameState.menuVisible, &gameState.saveScreenActive,
                             &gameState.loadScreenActive};
    for (std::uint8_t* flag : flags) {
        *flag = 1;
        textBuffer[0] = '\0';
        clickSquare(9, 9);
        EXPECT_EQ(text(), "");
        EXPECT_EQ(gameState.selectionActive, 0);
        *flag = 0;
    }
    gameState.playPhase = 0;
    clickSquare(9, 9);
    EXPECT_EQ(text(), "");
    EXPECT_EQ(gameState.selectionActive, 0);
}

}  // namespace
