// The saved-game file: what a save writes byte for byte, what a load restores, how damaged and
// older files load, and what a save that cannot be made leaves behind.
#include "screens/saved_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "board/board.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

const char* const kSaveFailed = "Impossible d'enregistrer la partie.";

std::string fixture(const std::string& name) {
    std::ifstream in(fs::path(GORVENDAL_SOURCE_DIR) / "tests" / "data" / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The small position of tests/data/small_position.SAV, built with the board operations as a
// game would build it, from a board cleared on the first frame.
void buildSmallPosition() {
    resetProcessState();
    clearBoard();
    placePiece(0, 0, PLAYER_BLACK, 2);    // id 0
    placePiece(19, 14, PLAYER_WHITE, 7);  // id 1
    placePiece(5, 14, PLAYER_BLACK, 0);   // id 2
    placePiece(19, 3, PLAYER_WHITE, 0);   // id 3
    placePiece(2, 3, PLAYER_WHITE, 0);    // id 4, then taken away again
    removePiece(2, 3);
    markPiece(0, 0, -1, 1, -1);
    updateLevels();
    gameState.blinkHidden = 1;
    gameState.selectedX = 0;
    gameState.selectedY = 0;
    gameState.selectionActive = 1;
    gameState.currentPlayer = PLAYER_BLACK;
    gameState.menuVisible = 0;
}

void expectSameCell(const Cell& actual, const Cell& expected, int x, int y) {
    SCOPED_TRACE(::testing::Message() << "square (" << x << ", " << y << ")");
    EXPECT_EQ(actual.owner, expected.owner);
    EXPECT_EQ(actual.pieceId, expected.pieceId);
    EXPECT_EQ(actual.occupied, expected.occupied);
    EXPECT_EQ(actual.kills, expected.kills);
    EXPECT_EQ(actual.level, expected.level);
    EXPECT_EQ(actual.movesLeft, expected.movesLeft);
    EXPECT_EQ(actual.movesPerTurn, expected.movesPerTurn);
    EXPECT_EQ(actual.highlighted, expected.highlighted);
}

void expectSameBoard(const Board& expected) {
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int y = 0; y < BOARD_ROWS; ++y) {
            expectSameCell(cellAt(x, y), expected.cells[x * BOARD_ROWS + y], x, y);
        }
    }
}

int piecesOf(int owner) {
    int count = 0;
    for (const Cell& cell : board.cells) {
        count += cell.occupied != -1 && cell.owner == owner ? 1 : 0;
    }
    return count;
}

// What every load leaves, whatever the file held: a playable game in its play phase whose
// counters match its board.
void expectPlayableGame() {
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int y = 0; y < BOARD_ROWS; ++y) {
            const Cell& cell = cellAt(x, y);
            if (cell.occupied != -1) {
                EXPECT_TRUE(cell.owner == PLAYER_WHITE || cell.owner == PLAYER_BLACK)
                    << "piece of owner " << cell.owner << " at (" << x << ", " << y << ")";
            }
            EXPECT_GE(cell.movesLeft, 1) << "(" << x << ", " << y << ")";
            EXPECT_GE(cell.movesPerTurn, 1) << "(" << x << ", " << y << ")";
        }
    }
    EXPECT_GE(gameState.selectedX, 0);
    EXPECT_LT(gameState.selectedX, BOARD_COLUMNS);
    EXPECT_GE(gameState.selectedY, 0);
    EXPECT_LT(gameState.selectedY, BOARD_ROWS);
    EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], piecesOf(PLAYER_WHITE));
    EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], piecesOf(PLAYER_BLACK));
    EXPECT_EQ(gameState.reserve[PLAYER_WHITE], 0);
    EXPECT_EQ(gameState.reserve[PLAYER_BLACK], 0);
    EXPECT_EQ(gameState.playPhase, 1);
    EXPECT_EQ(gameState.placementPhase, 0);
    EXPECT_EQ(gameState.reinforcementPhase, 0);
    EXPECT_EQ(gameState.capturesThisTurn, 0);
    EXPECT_EQ(gameState.gameOver, 0);
    EXPECT_EQ(gameState.demoMode, 0);
    EXPECT_EQ(gameState.victorySoundPlayed, 0);
}

class SavedGameTest : public HeadlessGame {};

TEST_F(SavedGameTest, ASmallPositionIsWrittenByteForByte) {
    buildSmallPosition();
    writeSavedGame("ABCDE");
    const std::string expected = fixture("small_position.SAV");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(readFile("sauv/ABCDE.SAV"), expected);
    EXPECT_FALSE(fs::exists(workDir / "sauv" / "ABCDE.SAV.new"));
    EXPECT_TRUE(plat::headless::debugLines().empty());
}

TEST_F(SavedGameTest, TheFileBeginsAsTheOlderEightHundredOneLines) {
    buildSmallPosition();
    writeSavedGame("ABCDE");
    const std::string text = readFile("sauv/ABCDE.SAV");
    const std::size_t constant = text.find("0.100000");
    ASSERT_NE(constant, std::string::npos);
    const std::string older = text.substr(0, constant + 8);
    EXPECT_EQ(std::count(older.begin(), older.end(), '\n'), 800);
    EXPECT_EQ(text.substr(constant + 8, 6), "\n19 0\n");
    EXPECT_EQ(text.back(), '\n');
}

TEST_F(SavedGameTest, AWholeGameComesBackAfterARoundTrip) {
    resetProcessState();
    clearBoard();
    // Every cell different, pieces of both sides everywhere, column 19 and row 14 included.
    for (int i = 0; i < BOARD_CELLS; ++i) {
        Cell& cell = board.cells[i];
        cell.occupied = i % 3 == 0 ? 1 : -1;
        cell.owner = cell.occupied == 1 ? i % 2 : -1;
        cell.pieceId = i;
        cell.kills = i % 9;
        cell.level = 1 + i % 4;
        cell.movesLeft = 1 + i % 3;
        cell.movesPerTurn = 1 + (i / 3) % 3;
        cell.highlighted = static_cast<std::uint8_t>(i % 5 == 0);
    }
    cellAt(19, 14).occupied = 1;
    cellAt(19, 14).owner = PLAYER_BLACK;
    gameState.selectedX = 19;
    gameState.selectedY = 14;
    gameState.selectionActive = 1;
    gameState.blinkHidden = 1;
    gameState.currentPlayer = PLAYER_BLACK;
    const Board saved = board;
    writeSavedGame("DCBAE");

    // Another game in its place: a finished one, white to move, another selection.
    clearBoard();
    placePiece(7, 7, PLAYER_WHITE, 0);
    gameState.selectedX = 7;
    gameState.selectedY = 7;
    gameState.selectionActive = 0;
    gameState.blinkHidden = 0;
    gameState.currentPlayer = PLAYER_WHITE;
    gameState.gameOver = 1;
    gameState.playPhase = 0;
    gameState.victorySoundPlayed = 1;

    ASSERT_TRUE(readSavedGame("DCBAE"));
    expectSameBoard(saved);
    EXPECT_EQ(gameState.selectedX, 19);
    EXPECT_EQ(gameState.selectedY, 14);
    EXPECT_EQ(gameState.selectionActive, 1);
    EXPECT_EQ(gameState.blinkHidden, 1);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
    expectPlayableGame();
}

TEST_F(SavedGameTest, TheSmallPositionFileLoadsIntoItsPosition) {
    buildSmallPosition();
    const Board expected = board;
    writeFile("sauv/ABCDE.SAV", fixture("small_position.SAV"));
    resetProcessState();
    clearBoard();
    ASSERT_TRUE(readSavedGame("ABCDE"));
    expectSameBoard(expected);
    EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 2);
    EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 2);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
    expectPlayableGame();
}

TEST_F(SavedGameTest, AnOlderFileWithoutTheLastCellsLoadsWithThemEmpty) {
    const std::string full = fixture("small_position.SAV");
    const std::string older = full.substr(0, full.find("0.100000") + 8);
    writeFile("sauv/ABCDE.SAV", older);
    resetProcessState();
    clearBoard();
    // Pieces of the game played before the load stand in column 19 and row 14.
    placePiece(19, 5, PLAYER_WHITE, 0);
    placePiece(7, 14, PLAYER_BLACK, 0);
    cellAt(19, 5).movesPerTurn = 3;
    ASSERT_TRUE(readSavedGame("ABCDE"));
    for (int y = 0; y < BOARD_ROWS; ++y) {
        EXPECT_EQ(cellAt(19, y).occupied, -1) << y;
        EXPECT_EQ(cellAt(19, y).movesPerTurn, 1) << y;
    }
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        EXPECT_EQ(cellAt(x, 14).occupied, -1) << x;
    }
    EXPECT_EQ(cellAt(0, 0).occupied, 1);
    EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 0);
    EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 1);
    expectPlayableGame();
}

TEST_F(SavedGameTest, AFileThatCannotBeOpenedChangesNothing) {
    resetProcessState();
    clearBoard();
    placePiece(19, 5, PLAYER_WHITE, 0);
    const Board before = board;
    EXPECT_FALSE(readSavedGame("EEEEE"));
    // A folder of that name opens on this system, but it is no saved game either.
    fs::create_directory(workDir / "sauv" / "DDDDD.SAV");
    EXPECT_FALSE(readSavedGame("DDDDD"));
    fs::remove_all(workDir / "sauv");
    EXPECT_FALSE(readSavedGame("EEEEE"));
    expectSameBoard(before);
    EXPECT_EQ(gameState.playPhase, 0);
    EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 10);
}

// Damaged files: each loads without harm, keeps what could be read and counts its pieces.
TEST_F(SavedGameTest, DamagedFilesLoadWithoutHarm) {
    const std::string full = fixture("small_position.SAV");
    const std::string older = full.substr(0, full.find("0.100000") + 8);
    std::string crlf;
    for (char c : full) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    // A record at (18, 13) sends the reading straight on to the trailer.
    const std::string lastRecord = "18 13\n0 0 -1 0\n0 1 1 0\n";

    // Before each load: white at (3, 3) selected, black at (4, 4) and at (19, 2), white to move.
    const auto before = [] {
        resetProcessState();
        clearBoard();
        placePiece(3, 3, PLAYER_WHITE, 0);
        placePiece(4, 4, PLAYER_BLACK, 0);
        placePiece(19, 2, PLAYER_BLACK, 0);
        gameState.selectedX = 3;
        gameState.selectedY = 3;
        gameState.selectionActive = 1;
        gameState.currentPlayer = PLAYER_WHITE;
        gameState.gameOver = 1;
    };
    const auto trailerUntouched = [] {
        EXPECT_EQ(gameState.selectedX, 3);
        EXPECT_EQ(gameState.selectedY, 3);
        EXPECT_EQ(gameState.selectionActive, 1);
        EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE);
    };
    // What the fixture and its older form load as, for the cases that must load the same.
    before();
    writeFile("sauv/CHECK.SAV", full);
    ASSERT_TRUE(readSavedGame("CHECK"));
    const Board fixtureBoard = board;
    before();
    writeFile("sauv/CHECK.SAV", older);
    ASSERT_TRUE(readSavedGame("CHECK"));
    const Board olderBoard = board;
    const GameState olderState = gameState;

    struct Case {
        const char* name;
        std::string contents;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"empty", "",
         [&] {
             EXPECT_EQ(cellAt(3, 3).occupied, 1);
             EXPECT_EQ(cellAt(4, 4).occupied, 1);
             EXPECT_EQ(cellAt(19, 2).occupied, -1);  // column 19 is always emptied
             EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 1);
             EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 1);
             trailerUntouched();
         }},
        {"cut in the middle of a record", "0 0\n1 0 1 2\n1 1 1 1\n0 1\n1 7",
         [&] {
             EXPECT_EQ(cellAt(0, 0).occupied, 1);
             EXPECT_EQ(cellAt(0, 0).owner, PLAYER_BLACK);
             EXPECT_EQ(cellAt(0, 0).highlighted, 1);
             EXPECT_EQ(cellAt(0, 1).owner, PLAYER_BLACK);
             EXPECT_EQ(cellAt(0, 1).pieceId, 7);
             EXPECT_EQ(cellAt(0, 1).occupied, -1);  // not reached: still empty
             EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 2);
             trailerUntouched();
         }},
        {"text instead of a number", "0 0\n0 5 1 x\n1 1 1 0\n0 1\n1 0 1 0\n1 1 1 0\n",
         [&] {
             EXPECT_EQ(cellAt(0, 0).occupied, 1);
             EXPECT_EQ(cellAt(0, 0).pieceId, 5);
             EXPECT_EQ(cellAt(0, 0).kills, 0);
             EXPECT_EQ(cellAt(0, 1).occupied, -1);
             EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 2);
             trailerUntouched();
         }},
        {"a column off the board", "0 0\n1 0 1 0\n1 1 1 0\n20 0\n1 0 1 0\n1 1 1 0\n1 5 5 1\n1 0\n",
         [&] {
             EXPECT_EQ(cellAt(0, 0).owner, PLAYER_BLACK);
             EXPECT_EQ(cellAt(0, 0).occupied, 1);
             EXPECT_EQ(cellAt(0, 1).occupied, -1);
             trailerUntouched();
         }},
        {"a row off the board", "3 15\n1 0 1 0\n1 1 1 0\n" + lastRecord + "1 5 5 1\n1 0\n",
         [&] {
             EXPECT_EQ(cellAt(4, 0).occupied, -1);
             EXPECT_EQ(cellAt(3, 3).owner, PLAYER_WHITE);
             trailerUntouched();
         }},
        {"a negative position", "-1 3\n1 0 1 0\n1 1 1 0\n" + lastRecord + "1 5 5 1\n1 0\n",
         [&] { trailerUntouched(); }},
        {"a position beyond the range of int", "4294967296 0\n1 0 1 0\n1 1 1 0\n",
         [&] {
             EXPECT_EQ(cellAt(0, 0).occupied, -1);
             trailerUntouched();
         }},
        {"an owner of 7", "0 0\n7 0 1 0\n1 1 1 0\n",
         [&] {
             EXPECT_EQ(cellAt(0, 0).occupied, -1);
             EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 1);
             EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 1);
         }},
        {"moves of 0 and below", "0 0\n0 0 1 0\n1 0 0 0\n0 1\n1 1 1 0\n1 -4 -9 0\n",
         [&] {
             EXPECT_EQ(cellAt(0, 0).movesLeft, 1);
             EXPECT_EQ(cellAt(0, 0).movesPerTurn, 1);
             EXPECT_EQ(cellAt(0, 1).movesLeft, 1);
             EXPECT_EQ(cellAt(0, 1).movesPerTurn, 1);
             EXPECT_EQ(cellAt(0, 1).owner, PLAYER_BLACK);
         }},
        {"a selection off the board", lastRecord + "1 25 3 1\n1 0\n0.100000",
         [&] {
             EXPECT_EQ(gameState.selectedX, 0);
             EXPECT_EQ(gameState.selectedY, 0);
             EXPECT_EQ(gameState.selectionActive, 0);
             EXPECT_EQ(gameState.blinkHidden, 1);
             EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
         }},
        {"a selection above the board", lastRecord + "0 3 -1 1\n0 0\n",
         [&] {
             EXPECT_EQ(gameState.selectedX, 0);
             EXPECT_EQ(gameState.selectedY, 0);
             EXPECT_EQ(gameState.selectionActive, 0);
         }},
        {"huge numbers", lastRecord + "1 99999999999999999999 5 0\n1 0\n",
         [&] {
             EXPECT_EQ(gameState.blinkHidden, 1);  // read before the huge number
             trailerUntouched();
         }},
        {"a huge kill count", "0 0\n1 0 1 2147483648\n1 1 1 0\n",
         [&] {
             EXPECT_EQ(cellAt(0, 0).owner, PLAYER_BLACK);
             EXPECT_EQ(cellAt(0, 0).kills, 0);
         }},
        {"the extremes of int and wide byte values",
         "0 0\n1 -2147483648 1 2147483647\n1 1 1 257\n" + lastRecord + "258 3 4 513\n257 0\n",
         [&] {
             EXPECT_EQ(cellAt(0, 0).pieceId, INT_MIN);
             EXPECT_EQ(cellAt(0, 0).kills, INT_MAX);
             EXPECT_EQ(cellAt(0, 0).highlighted, 1);
             EXPECT_EQ(gameState.blinkHidden, 2);
             EXPECT_EQ(gameState.selectedY, 4);
             EXPECT_EQ(gameState.selectionActive, 1);
             EXPECT_EQ(gameState.currentPlayer, 1);
         }},
        {"CR LF line ends", crlf, [&] { expectSameBoard(fixtureBoard); }},
        {"an extra record that is not in column 19 or row 14",
         older + "\n19 0\n0 0 1 0\n1 1 1 0\n3 3\n1 0 1 0\n1 1 1 0\n19 1\n0 0 1 0\n1 1 1 0\n",
         [&] {
             EXPECT_EQ(cellAt(19, 0).occupied, 1);
             EXPECT_EQ(cellAt(3, 3).occupied, -1);  // as the older file leaves it
             EXPECT_EQ(cellAt(19, 1).occupied, -1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        before();
        writeFile("sauv/BROKE.SAV", c.contents);
        ASSERT_TRUE(readSavedGame("BROKE"));
        expectPlayableGame();
        c.check();
    }

    // The end of the file after the menu flag: a final line end, another number, no constant.
    std::string otherNumber = older;
    otherNumber.replace(otherNumber.find("0.100000"), 8, "7");
    for (const std::string& ending :
         {older + "\n", otherNumber, older.substr(0, older.size() - 8), older + "\r\n\r\n"}) {
        SCOPED_TRACE(ending.substr(ending.size() - 12));
        before();
        writeFile("sauv/BROKE.SAV", ending);
        ASSERT_TRUE(readSavedGame("BROKE"));
        expectSameBoard(olderBoard);
        EXPECT_EQ(gameState.selectedX, olderState.selectedX);
        EXPECT_EQ(gameState.selectionActive, olderState.selectionActive);
        EXPECT_EQ(gameState.currentPlayer, olderState.currentPlayer);
        expectPlayableGame();
    }
}

TEST_F(SavedGameTest, ASaveReplacesAnOlderFileAndCreatesTheFolder) {
    buildSmallPosition();
    writeFile("sauv/ABCDE.SAV", "old");
    writeSavedGame("ABCDE");
    EXPECT_EQ(readFile("sauv/ABCDE.SAV"), fixture("small_position.SAV"));

    fs::remove_all(workDir / "sauv");
    writeSavedGame("ABCDE");
    EXPECT_EQ(readFile("sauv/ABCDE.SAV"), fixture("small_position.SAV"));
    EXPECT_TRUE(plat::headless::debugLines().empty());
}

// Tests may run with every permission, so the save is made to fail by what stands in its way.
TEST_F(SavedGameTest, AFailedSaveKeepsTheOldFileAndSaysSo) {
    buildSmallPosition();
    struct Case {
        const char* name;
        std::function<void()> obstruct;
        bool oldFileThere;
    };
    const Case cases[] = {
        {"the new file cannot be created",
         [&] { fs::create_directory(workDir / "sauv" / "ABCDE.SAV.new"); }, true},
        {"the new file cannot take the old one's place",
         [&] {
             fs::remove(workDir / "sauv" / "ABCDE.SAV");
             fs::create_directory(workDir / "sauv" / "ABCDE.SAV");
             writeFile("sauv/ABCDE.SAV/keep", "old");
         },
         false},
        {"the folder is a file",
         [&] {
             fs::remove_all(workDir / "sauv");
             writeFile("sauv", "old");
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(workDir / "sauv");
        fs::create_directory(workDir / "sauv");
        writeFile("sauv/ABCDE.SAV", "old");
        c.obstruct();
        plat::headless::install();  // forgets the debugger lines of the last case
        writeSavedGame("ABCDE");
        ASSERT_EQ(plat::headless::debugLines().size(), 1u);
        EXPECT_EQ(plat::headless::debugLines()[0], kSaveFailed);
        if (c.oldFileThere) {
            EXPECT_EQ(readFile("sauv/ABCDE.SAV"), "old");
        }
        EXPECT_FALSE(fs::is_regular_file(workDir / "sauv" / "ABCDE.SAV.new"));
    }
    EXPECT_EQ(readFile("sauv"), "old");
}

}  // namespace
