// The save and load screens, played through whole frames with the mouse: how a name is built,
// when the file is written or read, the repetition while a complete name stays open, and how
// the screens close.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "board/board.h"
#include "platform/headless.h"
#include "shell/app.h"
#include "shell/timers.h"
#include "test_support.h"

namespace hl = plat::headless;
namespace fs = std::filesystem;

namespace {

constexpr int kOkX = 400;
constexpr int kOkY = 450;

int letterX(char letter) {
    return 360 + 20 * (letter - 'A');
}
constexpr int kLetterY = 410;

int menuButtonY(int n) {
    return 87 + 75 * (n - 1);
}
constexpr int kMenuX = 400;

std::string fixture(const std::string& name) {
    std::ifstream in(fs::path(GORVENDAL_SOURCE_DIR) / "tests" / "data" / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class FileScreens : public HeadlessGame {
  protected:
    // The game after its first frame, with the menu shown over an empty board.
    void startGame() {
        ASSERT_TRUE(start());
        runFrames(1);
    }

    // The state of a game in its play phase, under the main menu.
    void setUpGameInPlay() {
        clearBoard();
        placePiece(2, 2, PLAYER_WHITE, 0);
        placePiece(19, 14, PLAYER_BLACK, 4);
        gameState.playPhase = 1;
        gameState.menuVisible = 1;
    }

    void openSaveScreen() {
        clickAt(kMenuX, menuButtonY(3));
        ASSERT_EQ(gameState.saveScreenActive, 1);
        ASSERT_EQ(gameState.menuVisible, 0);
    }

    void openLoadScreen() {
        clickAt(kMenuX, menuButtonY(4));
        ASSERT_EQ(gameState.loadScreenActive, 1);
        ASSERT_EQ(gameState.menuVisible, 0);
    }

    // Clicks on the screen: a letter A to E, O for OK, H for OK held for ten frames.
    void clickKeys(const std::string& keys) {
        for (char key : keys) {
            if (key == 'O') {
                clickAt(kOkX, kOkY);
            } else if (key == 'H') {
                moveCursorTo(kOkX, kOkY);
                pressLeft();
                runFrames(10);
                releaseLeft();
                runFrames(1);
            } else {
                clickAt(letterX(key), kLetterY);
            }
        }
    }

    // Presses the left button on a letter and runs that one frame, keeping it held.
    void pressOnLetter(char letter) {
        moveCursorTo(letterX(letter), kLetterY);
        pressLeft();
        runFrames(1);
    }

    bool saved(const char* name) const {
        return fs::exists(workDir / "sauv" / (std::string(name) + ".SAV"));
    }
};

TEST_F(FileScreens, NameEntryRules) {
    struct Case {
        const char* keys;
        std::string name;  // the five characters of fileName, NUL included
        int length;
        char currentLetter;
    };
    const Case cases[] = {
        {"AOO", std::string("A\0\0\0\0", 5), 1, 'A'}, {"AOAO", std::string("AA\0\0\0", 5), 2, 'A'},
        {"AOBO", std::string("AB\0\0\0", 5), 2, 'B'}, {"O", std::string("\0\0\0\0\0", 5), 1, '\0'},
        {"OCO", std::string("\0C\0\0\0", 5), 2, 'C'}, {"AH", std::string("A\0\0\0\0", 5), 1, 'A'},
        {"ABO", std::string("B\0\0\0\0", 5), 1, 'B'}, {"AOBOCODOEOOOH", "ABCDE", 5, 'E'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        // A fresh run of the program: the name is kept for the whole of a run.
        releaseAll();
        fs::remove_all(workDir / "sauv");
        fs::create_directory(workDir / "sauv");
        restartProcess();
        startGame();
        setUpGameInPlay();
        openSaveScreen();
        clickKeys(c.keys);
        EXPECT_EQ(std::string(gameState.fileName, 5), c.name);
        EXPECT_EQ(gameState.fileName[5], '\0');
        EXPECT_EQ(gameState.fileNameLength, c.length);
        EXPECT_EQ(gameState.currentLetter, c.currentLetter);
        EXPECT_EQ(gameState.saveScreenActive, 1);
        EXPECT_FALSE(saved("ABCDE"));
    }
}

TEST_F(FileScreens, ALetterAfterFiveLettersSavesAndClosesInThatFrame) {
    startGame();
    setUpGameInPlay();
    openSaveScreen();
    clickKeys("AOBOCODOEO");
    runFrames(5);
    EXPECT_FALSE(saved("ABCDE"));  // the OK of the fifth letter latched the action

    pressOnLetter('C');
    EXPECT_TRUE(saved("ABCDE"));
    EXPECT_EQ(gameState.saveScreenActive, 0);
    EXPECT_EQ(gameState.menuVisible, 1);
    EXPECT_EQ(gameState.currentLetter, 'C');
    EXPECT_EQ(std::string(gameState.fileName), "ABCDE");
    releaseLeft();
    runFrames(1);
    // The held button lies on the menu's fifth button, which does nothing.
    EXPECT_EQ(gameState.menuVisible, 1);
    EXPECT_EQ(gameState.playPhase, 1);
}

TEST_F(FileScreens, OkFirstMakesANameThatEndsAtOnce) {
    startGame();
    setUpGameInPlay();
    openSaveScreen();
    clickKeys("OAOAOAOAO");
    EXPECT_EQ(gameState.fileNameLength, 5);
    EXPECT_EQ(std::string(gameState.fileName), "");
    pressOnLetter('A');
    EXPECT_TRUE(fs::exists(workDir / "sauv" / ".SAV"));
}

TEST_F(FileScreens, AMissingFileClosesTheLoadScreen) {
    startGame();
    openLoadScreen();
    clickKeys("EOEOEOEOEO");
    EXPECT_EQ(gameState.loadScreenActive, 1);
    // The close gives the cursor back to the user whoever had it: here a click made for him.
    gameState.cursorUserControlled = 0;
    gameState.cursorX = letterX('A');
    gameState.cursorY = kLetterY;
    gameState.leftButton = 1;
    runFrames(1);
    EXPECT_EQ(gameState.loadScreenActive, 0);
    EXPECT_EQ(gameState.menuVisible, 1);
    EXPECT_EQ(gameState.cursorUserControlled, 1);
    EXPECT_EQ(gameState.playPhase, 0);
    for (const Cell& cell : board.cells) {
        EXPECT_EQ(cell.occupied, -1);
    }
}

TEST_F(FileScreens, AGameLoadsFromTheMenuAtProgramStartAndPlaysOn) {
    writeFile("sauv/ABCDE.SAV", fixture("small_position.SAV"));
    startGame();
    openLoadScreen();
    clickKeys("AOBOCODOEO");
    pressOnLetter('B');
    EXPECT_EQ(gameState.loadScreenActive, 0);
    EXPECT_EQ(gameState.menuVisible, 1);
    EXPECT_EQ(gameState.playPhase, 1);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
    EXPECT_EQ(cellAt(19, 14).occupied, 1);
    EXPECT_EQ(cellAt(19, 14).kills, 7);
    EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 2);
    EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 2);
    releaseLeft();
    runFrames(1);

    // The menu offers to resume; the game goes on with black to move.
    clickAt(kMenuX, menuButtonY(7));
    EXPECT_EQ(gameState.menuVisible, 0);
    clickAt(20, 20);  // black's piece on (0, 0)
    EXPECT_EQ(gameState.selectionActive, 1);
    EXPECT_EQ(gameState.selectedX, 0);
    EXPECT_EQ(gameState.selectedY, 0);
    clickAt(60, 60);  // a step to (1, 1) ends black's turn
    EXPECT_EQ(cellAt(1, 1).occupied, 1);
    EXPECT_EQ(cellAt(1, 1).owner, PLAYER_BLACK);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE);
}

TEST_F(FileScreens, AGameLoadsOverAFinishedOne) {
    writeFile("sauv/ABCDE.SAV", fixture("small_position.SAV"));
    startGame();
    // A finished game, its result picture under the menu.
    clearBoard();
    placePiece(4, 4, PLAYER_WHITE, 3);
    gameState.onBoard[PLAYER_BLACK] = 0;
    gameState.gameOver = 1;
    gameState.victorySoundPlayed = 1;
    gameState.playPhase = 0;
    gameState.menuVisible = 1;
    openLoadScreen();
    clickKeys("AOBOCODOEO");
    pressOnLetter('A');
    EXPECT_EQ(gameState.gameOver, 0);
    EXPECT_EQ(gameState.victorySoundPlayed, 0);
    EXPECT_EQ(gameState.playPhase, 1);
    EXPECT_EQ(cellAt(4, 4).occupied, -1);
    EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 2);
    releaseLeft();
    runFrames(1);
    clickAt(kMenuX, menuButtonY(7));
    runFrames(150);
    EXPECT_EQ(gameState.gameOver, 0);  // both sides have pieces: the game goes on
}

TEST_F(FileScreens, ACompleteNameRepeatsTheSaveUntilOkOrALetter) {
    startGame();
    setUpGameInPlay();
    openSaveScreen();
    clickKeys("AOBOCODOEO");
    pressOnLetter('D');
    releaseLeft();
    runFrames(1);
    ASSERT_TRUE(saved("ABCDE"));
    fs::remove(workDir / "sauv" / "ABCDE.SAV");

    // Opened again: the save is made in its first frame and in every frame after it.
    moveCursorTo(kMenuX, menuButtonY(3));
    pressLeft();
    runFrames(1);
    EXPECT_TRUE(saved("ABCDE"));
    releaseLeft();
    for (int frame = 0; frame < 3; ++frame) {
        fs::remove(workDir / "sauv" / "ABCDE.SAV");
        runFrames(1);
        EXPECT_TRUE(saved("ABCDE")) << frame;
    }
    // OK stops the repetition; the screen stays open.
    clickKeys("O");
    fs::remove(workDir / "sauv" / "ABCDE.SAV");
    runFrames(3);
    EXPECT_FALSE(saved("ABCDE"));
    EXPECT_EQ(gameState.saveScreenActive, 1);
    // A letter saves once more and closes the screen.
    pressOnLetter('E');
    EXPECT_TRUE(saved("ABCDE"));
    EXPECT_EQ(gameState.saveScreenActive, 0);
}

TEST_F(FileScreens, AfterASaveTheLoadScreenLoadsThatFileAtOnce) {
    startGame();
    setUpGameInPlay();
    openSaveScreen();
    clickKeys("AOBOCODOEO");
    pressOnLetter('A');
    releaseLeft();
    runFrames(1);
    ASSERT_TRUE(saved("ABCDE"));

    // The game changes; the load screen brings the saved position back in its first frame.
    removePiece(2, 2);
    placePiece(9, 9, PLAYER_BLACK, 0);
    moveCursorTo(kMenuX, menuButtonY(4));
    pressLeft();
    runFrames(1);
    EXPECT_EQ(gameState.loadScreenActive, 1);
    EXPECT_EQ(cellAt(2, 2).occupied, 1);
    EXPECT_EQ(cellAt(9, 9).occupied, -1);
    EXPECT_EQ(cellAt(19, 14).occupied, 1);
    EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 1);
    EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 1);
    releaseLeft();
    runFrames(1);
}

TEST_F(FileScreens, EscapeLeavesTheLoadScreenAndItsOkButtonAlone) {
    startGame();
    openLoadScreen();
    hl::setEscape(true);
    runFrames(3);
    hl::setEscape(false);
    EXPECT_EQ(gameState.menuVisible, 0);
    EXPECT_EQ(gameState.loadScreenActive, 1);
    // OK lies where the menu's quit button would be: the program goes on.
    moveCursorTo(kOkX, kOkY);
    pressLeft();
    EXPECT_EQ(runFrames(1), -1);
    releaseLeft();
    EXPECT_EQ(runFrames(1), -1);
    EXPECT_EQ(gameState.fileNameLength, 1);
}

TEST_F(FileScreens, EscapeDoesNothingOnTheSaveScreen) {
    startGame();
    setUpGameInPlay();
    openSaveScreen();
    hl::setEscape(true);
    runFrames(3);
    hl::setEscape(false);
    EXPECT_EQ(gameState.menuVisible, 0);
    EXPECT_EQ(gameState.saveScreenActive, 1);
}

TEST_F(FileScreens, ThePromptShowsOnlyWithAWholeName) {
    startGame();
    setUpGameInPlay();
    openSaveScreen();
    // The prompt is red text on the line at y = 330.
    const auto redOnPromptLine = [] {
        int count = 0;
        const auto& picture = hl::shownPicture();
        for (int y = 330; y < 345; ++y) {
            for (int x = 200; x < 600; ++x) {
                count += picture[y * 800 + x] == 0xF800 ? 1 : 0;
            }
        }
        return count;
    };
    clickKeys("AOBOCODOE");
    EXPECT_EQ(redOnPromptLine(), 0);
    clickKeys("O");
    EXPECT_GT(redOnPromptLine(), 0);
}

}  // namespace
