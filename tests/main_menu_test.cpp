// The main menu: its buttons, their hit boxes, the highlighted frame and every button's action.
#include "screens/main_menu.h"

#include <gtest/gtest.h>

#include "board/board.h"
#include "display/draw.h"
#include "display/sprites.h"
#include "picture_fixture.h"
#include "platform/headless.h"
#include "shell/app.h"

namespace {

class MainMenuTest : public PictureGame {
  protected:
    void SetUp() override {
        PictureGame::SetUp();
        ASSERT_TRUE(start());
        ASSERT_EQ(runFrames(1), -1);  // the first frame's one-time work
    }

    // One run of the menu alone on a cleared back buffer.
    void runMenuAt(int x, int y, bool held) {
        gameState.cursorX = x;
        gameState.cursorY = y;
        gameState.leftButton = held ? 1 : 0;
        gameState.menuVisible = 1;
        ASSERT_TRUE(clearBackBuffer());
        runMainMenu();
    }

    // The frame drawn for button n (by its colour in the middle of the button), 0 when the
    // button is not drawn, -1 for a colour that is no menu frame.
    int frameDrawnFor(int n) const {
        const std::uint16_t pixel = back(400, 50 + 75 * (n - 1) + 37);
        if (pixel == 0) {
            return 0;
        }
        for (int frame = 1; frame <= 14; ++frame) {
            if (pixel == rgb565(menuFrameColour(frame))) {
                return frame;
            }
        }
        return -1;
    }

    // The button drawn highlighted, 0 when none; fails when a button shows the wrong frame.
    int highlightedButton(int shown) const {
        int highlighted = 0;
        for (int n = 1; n <= 7; ++n) {
            const int frame = frameDrawnFor(n);
            if (n > shown) {
                EXPECT_EQ(frame, 0) << "button " << n << " is not shown";
            } else if (frame == n + 7) {
                EXPECT_EQ(highlighted, 0) << "two buttons highlighted";
                highlighted = n;
            } else {
                EXPECT_EQ(frame, n) << "button " << n;
            }
        }
        return highlighted;
    }
};

struct HitCase {
    int x;
    int y;
    bool gameInProgress;  // seven buttons instead of six
    int button;           // under the cursor, 0 for none
};

TEST_F(MainMenuTest, HitBoxesAreHalfOpenAndHighlightTheButtonUnderTheCursor) {
    const HitCase cases[] = {
        {325, 50, false, 1},  {474, 124, false, 1}, {324, 50, false, 0},  {475, 50, false, 0},
        {400, 49, false, 0},  {400, 125, false, 2}, {400, 199, false, 2}, {400, 200, false, 3},
        {400, 275, false, 4}, {400, 350, false, 5}, {400, 425, false, 6}, {474, 499, false, 6},
        {400, 500, false, 0}, {400, 500, true, 7},  {400, 574, true, 7},  {400, 575, true, 0},
        {475, 574, true, 0},  {1, 1, true, 0},      {779, 579, true, 0},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
        gameState.playPhase = c.gameInProgress ? 1 : 0;
        runMenuAt(c.x, c.y, false);
        EXPECT_EQ(highlightedButton(c.gameInProgress ? 7 : 6), c.button);
    }
}

struct ShownCase {
    const char* name;
    bool placement;
    bool play;
    bool gameOver;
    bool demo;
    int buttons;
};

TEST_F(MainMenuTest, ResumeIsShownOnlyWhileAGameIsInPlacementOrPlay) {
    const ShownCase cases[] = {
        {"program start", false, false, false, false, 6},
        {"placement", true, false, false, false, 7},
        {"play", false, true, false, false, 7},
        {"reinforcement", true, false, false, false, 7},
        {"game over", false, false, true, false, 6},
        {"demonstration before its play phase", false, false, false, true, 6},
    };
    for (const ShownCase& c : cases) {
        SCOPED_TRACE(c.name);
        gameState.placementPhase = c.placement;
        gameState.playPhase = c.play;
        gameState.gameOver = c.gameOver;
        gameState.demoMode = c.demo;
        runMenuAt(10, 10, false);
        EXPECT_EQ(highlightedButton(c.buttons), 0);
    }
}

TEST_F(MainMenuTest, TheButtonsAreDrawnExactlyAtTheirPlaces) {
    gameState.playPhase = 1;
    runMenuAt(10, 10, false);
    for (int n = 1; n <= 7; ++n) {
        const int top = 50 + 75 * (n - 1);
        const std::uint16_t colour = rgb565(menuFrameColour(n));
        EXPECT_EQ(back(325, top), colour) << n;
        EXPECT_EQ(back(474, top + 74), colour) << n;
        EXPECT_EQ(back(324, top), 0) << n;
        EXPECT_EQ(back(475, top), 0) << n;
    }
    EXPECT_EQ(back(400, 49), 0);
    EXPECT_EQ(back(400, 575), 0);
}

TEST_F(MainMenuTest, TheVersionIsWrittenBottomRightWhiteOnBlack) {
    ASSERT_TRUE(blitSprite(600, 550, 200, 50, 20, 20, 4, SPRITE_LETTERS));  // a blue ground
    gameState.cursorX = 10;
    gameState.cursorY = 10;
    runMainMenu();
    EXPECT_EQ(back(700, 585), 0);
    EXPECT_EQ(back(699, 590), rgb565(kSliceBlue));
    EXPECT_EQ(back(750, 584), rgb565(kSliceBlue));
    int strokes = 0;
    for (int y = 585; y < 595; ++y) {
        for (int x = 700; x < 740; ++x) {
            EXPECT_NE(back(x, y), rgb565(kSliceBlue));
            strokes += back(x, y) != 0;
        }
    }
    EXPECT_GT(strokes, 0);
}

int buttonY(int n) {
    return 50 + 75 * (n - 1) + 30;
}

TEST_F(MainMenuTest, NewGameDiscardsTheGameAndStartsThePlacement) {
    gameState.playPhase = 1;
    gameState.gameOver = 0;
    gameState.currentPlayer = PLAYER_BLACK;
    ASSERT_TRUE(placePiece(4, 4, PLAYER_WHITE, 3));
    runMenuAt(400, buttonY(MENU_NEW_GAME), true);
    EXPECT_EQ(gameState.menuVisible, 0);
    EXPECT_EQ(gameState.placementPhase, 1);
    EXPECT_EQ(gameState.playPhase, 0);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE);
    EXPECT_EQ(gameState.reserve[PLAYER_WHITE], 10);
    EXPECT_EQ(gameState.reserve[PLAYER_BLACK], 10);
    EXPECT_EQ(cellAt(4, 4).occupied, -1);
    // The frame of the choice still shows the whole menu as it was drawn.
    EXPECT_EQ(highlightedButton(7), MENU_NEW_GAME);
}

TEST_F(MainMenuTest, DemonstrationStartsEvenOverARunningOne) {
    for (int round = 0; round < 2; ++round) {
        runMenuAt(400, buttonY(MENU_DEMO), true);
        EXPECT_EQ(gameState.menuVisible, 0) << round;
        EXPECT_EQ(gameState.demoMode, 1) << round;
        EXPECT_EQ(gameState.placementPhase, 0) << round;
    }
}

struct PreconditionCase {
    const char* name;
    bool play;
    bool placement;
    bool demo;
    bool gameOver;
    bool saveOpens;
    bool loadOpens;
};

TEST_F(MainMenuTest, SaveAndLoadOpenOnlyWhenTheirPreconditionHolds) {
    const PreconditionCase cases[] = {
        {"program start", false, false, false, false, false, true},
        {"placement", false, true, false, false, false, false},
        {"reinforcement", false, true, false, false, false, false},
        {"play", true, false, false, false, true, true},
        {"demonstration in play", true, false, true, false, false, false},
        {"game over", false, false, false, true, false, true},
    };
    for (const PreconditionCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (int button : {MENU_SAVE, MENU_LOAD}) {
            gameState.playPhase = c.play;
            gameState.placementPhase = c.placement;
            gameState.demoMode = c.demo;
            gameState.gameOver = c.gameOver;
            gameState.saveScreenActive = 0;
            gameState.loadScreenActive = 0;
            runMenuAt(400, buttonY(button), true);
            const bool opens = button == MENU_SAVE ? c.saveOpens : c.loadOpens;
            EXPECT_EQ(gameState.menuVisible, opens ? 0 : 1) << button;
            EXPECT_EQ(gameState.saveScreenActive, button == MENU_SAVE && opens ? 1 : 0);
            EXPECT_EQ(gameState.loadScreenActive, button == MENU_LOAD && opens ? 1 : 0);
            EXPECT_EQ(gameState.playPhase, c.play ? 1 : 0);
        }
    }
}

TEST_F(MainMenuTest, ButtonFiveOnlyHighlightsForAsLongAsItIsHeld) {
    gameState.playPhase = 1;
    const GameState before = gameState;
    for (int frame = 0; frame < 5; ++frame) {
        runMenuAt(400, buttonY(MENU_NO_ACTION), true);
        EXPECT_EQ(highlightedButton(7), MENU_NO_ACTION);
    }
    EXPECT_EQ(gameState.menuVisible, 1);
    EXPECT_EQ(gameState.playPhase, before.playPhase);
    EXPECT_EQ(gameState.saveScreenActive, 0);
    EXPECT_EQ(gameState.loadScreenActive, 0);
    EXPECT_EQ(gameState.demoMode, 0);
}

TEST_F(MainMenuTest, ResumeClosesTheMenuAndChangesNothingElse) {
    gameState.placementPhase = 1;
    gameState.currentPlayer = PLAYER_BLACK;
    gameState.reserve[PLAYER_WHITE] = 4;
    ASSERT_TRUE(placePiece(2, 3, PLAYER_WHITE, 0));
    runMenuAt(400, buttonY(MENU_RESUME), true);
    EXPECT_EQ(gameState.menuVisible, 0);
    EXPECT_EQ(gameState.placementPhase, 1);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_BLACK);
    EXPECT_EQ(gameState.reserve[PLAYER_WHITE], 4);
    EXPECT_EQ(cellAt(2, 3).occupied, 1);
}

TEST_F(MainMenuTest, NothingActsWithoutTheButtonOrOutsideTheButtons) {
    gameState.playPhase = 1;
    for (int n = MENU_NEW_GAME; n <= MENU_RESUME; ++n) {
        runMenuAt(400, buttonY(n), false);
        EXPECT_EQ(gameState.menuVisible, 1) << n;
    }
    runMenuAt(324, buttonY(MENU_NEW_GAME), true);
    runMenuAt(400, 575, true);
    EXPECT_EQ(gameState.menuVisible, 1);
    EXPECT_EQ(gameState.playPhase, 1);
}

TEST_F(MainMenuTest, QuitEndsTheProgramWithStatus0) {
    moveCursorTo(400, buttonY(MENU_QUIT));
    pressLeft();
    EXPECT_EQ(runFrames(3), 0);
    EXPECT_EQ(plat::headless::frameNumber(), 2);
}

TEST_F(MainMenuTest, APressDraggedOntoQuitEndsTheProgram) {
    moveCursorTo(100, 100);
    pressLeft();
    ASSERT_EQ(runFrames(2), -1);
    EXPECT_EQ(gameState.leftButton, 1);
    moveCursorTo(400, buttonY(MENU_QUIT));
    EXPECT_EQ(runFrames(1), 0);
}

TEST_F(MainMenuTest, AMenuClickDuringPlacementPlacesNoPiece) {
    gameState.placementPhase = 1;
    moveCursorTo(400, buttonY(MENU_NO_ACTION));
    pressLeft();
    runFrames(3);
    for (const Cell& cell : board.cells) {
        ASSERT_EQ(cell.occupied, -1);
    }
    EXPECT_EQ(gameState.reserve[PLAYER_WHITE], 10);
}

TEST_F(MainMenuTest, ClickingNewGameShowsTheBoardAndASmallWhitePieceAsCursor) {
    clickAt(400, buttonY(MENU_NEW_GAME));
    EXPECT_EQ(gameState.menuVisible, 0);
    EXPECT_EQ(gameState.placementPhase, 1);
    for (const Cell& cell : board.cells) {
        ASSERT_EQ(cell.occupied, -1);  // the held button placed nothing
    }
    // No button is left on the screen; the cursor is the white piece shrunk to 20 x 20.
    EXPECT_EQ(shown(410, 107), rgb565(kBoardBackground));
    EXPECT_EQ(shown(410, 300), rgb565(kBoardBackground));
    EXPECT_EQ(shown(400, buttonY(MENU_NEW_GAME)), rgb565(kWhitePiece));
    EXPECT_EQ(shown(419, buttonY(MENU_NEW_GAME) + 19), rgb565(kWhitePiece));
}

}  // namespace
