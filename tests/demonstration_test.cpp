// The guided demonstration played through whole frames: its position, the four lessons with
// their captures, sounds and pacing, the OK button, the user's input during a lesson, and the
// finish.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "board/board.h"
#include "platform/headless.h"
#include "shell/timers.h"
#include "sound/sound_effects.h"
#include "test_support.h"

namespace hl = plat::headless;

namespace {

constexpr int kMenuX = 400;
constexpr int kDemoButtonY = 162;
constexpr int kOkX = 750;
constexpr int kOkY = 20;

struct Waypoints {
    int selectX, selectY, moveX, moveY;
};
constexpr Waypoints kLessons[4] = {
    {220, 260, 300, 260},
    {500, 420, 420, 340},
    {60, 60, 180, 60},
    {620, 340, 740, 460},
};

// The frames in which a lesson's events happened (each event seen at the end of its frame).
struct LessonTrace {
    int okFrame = -1;
    int arriveSelect = -1;  // the cursor stands on the piece to select
    int selectBegins = -1;  // demoStep 1
    int selectClick = -1;   // leftButton set by the script
    int leaveForMove = -1;  // the target becomes the landing square
    int arriveMove = -1;
    int moveBegins = -1;  // demoStep 2
    int moveClick = -1;
    int leaveForReturn = -1;                  // the target becomes the point where OK was clicked
    int end = -1;                             // the latch is clear again
    int clickFrames = 0;                      // frames that ended with leftButton set
    std::vector<std::pair<int, int>> cursor;  // the cursor at the end of each frame from okFrame
};

class DemonstrationTest : public HeadlessGame {
  protected:
    void startGame() {
        ASSERT_TRUE(start());
        runFrames(1);
    }

    void startDemo() {
        clickAt(kMenuX, kDemoButtonY);
        ASSERT_EQ(gameState.demoMode, 1);
    }

    // Clicks OK at (x, y), or where the cursor already is, and plays the lesson to its end.
    LessonTrace playLesson(int lesson, int x = kOkX, int y = kOkY) {
        LessonTrace trace;
        const Waypoints& w = kLessons[lesson];
        moveCursorTo(x, y);
        pressLeft();
        runFrames(1);
        releaseLeft();
        trace.okFrame = hl::frameNumber();
        trace.cursor.emplace_back(gameState.cursorX, gameState.cursorY);
        EXPECT_EQ(gameState.clickLatch, 1);
        EXPECT_EQ(gameState.leftButton, 0);  // the OK click is used up
        const int returnX = gameState.demoReturnX;
        const int returnY = gameState.demoReturnY;
        EXPECT_EQ(returnX, x);
        EXPECT_EQ(returnY, y);
        const auto first = [](int& field, bool now) {
            if (field < 0 && now) {
                field = hl::frameNumber();
            }
        };
        for (int guard = 0; guard < 3000 && gameState.clickLatch; ++guard) {
            runFrames(1);
            const GameState& g = gameState;
            trace.cursor.emplace_back(g.cursorX, g.cursorY);
            first(trace.arriveSelect, g.cursorX == w.selectX && g.cursorY == w.selectY);
            first(trace.selectBegins, g.demoStep == 1);
            first(trace.leaveForMove, g.demoTargetX == w.moveX && g.demoTargetY == w.moveY);
            // The approach to the piece may cross the landing square: only the way there counts.
            first(trace.arriveMove,
                  trace.leaveForMove > 0 && g.cursorX == w.moveX && g.cursorY == w.moveY);
            first(trace.moveBegins, g.demoStep == 2);
            first(trace.leaveForReturn,
                  trace.moveBegins > 0 && g.demoTargetX == returnX && g.demoTargetY == returnY);
            if (g.leftButton) {
                ++trace.clickFrames;
                first(trace.moveBegins < 0 ? trace.selectClick : trace.moveClick, true);
            }
            first(trace.end, !g.clickLatch);
        }
        return trace;
    }

    std::vector<std::pair<int, int>> soundsBetween(int from, int to) const {
        std::vector<std::pair<int, int>> out;
        for (const auto& sound : sounds()) {
            if (sound.second >= from && sound.second <= to) {
                out.push_back(sound);
            }
        }
        return out;
    }

    static int piecesOf(int owner) {
        int count = 0;
        for (const Cell& cell : board.cells) {
            count += cell.occupied != -1 && cell.owner == owner ? 1 : 0;
        }
        return count;
    }
};

TEST_F(DemonstrationTest, TheScriptedPositionHas28PiecesAndItsLevelsTheNextFrame) {
    startGame();
    moveCursorTo(kMenuX, kDemoButtonY);
    pressLeft();
    runFrames(1);
    EXPECT_EQ(gameState.demoMode, 1);
    EXPECT_EQ(gameState.menuVisible, 0);
    EXPECT_EQ(gameState.playPhase, 0);
    EXPECT_EQ(gameState.clickLatch, 0);
    EXPECT_EQ(gameState.pieceCount, 28);
    EXPECT_EQ(piecesOf(PLAYER_WHITE), 14);
    EXPECT_EQ(piecesOf(PLAYER_BLACK), 14);
    // The two refused calls leave their squares to the first pieces placed there.
    EXPECT_EQ(cellAt(12, 4).owner, PLAYER_BLACK);
    EXPECT_EQ(cellAt(12, 4).pieceId, 18);
    EXPECT_EQ(cellAt(7, 5).owner, PLAYER_WHITE);
    EXPECT_EQ(cellAt(7, 5).pieceId, 19);
    EXPECT_EQ(cellAt(5, 6).pieceId, 0);
    EXPECT_EQ(cellAt(8, 9).pieceId, 27);
    // The counters keep what a new game gives them.
    EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], 10);
    EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], 10);
    EXPECT_EQ(cellAt(1, 1).level, 0);
    releaseLeft();
    runFrames(1);
    EXPECT_EQ(cellAt(5, 6).level, 1);
    EXPECT_EQ(cellAt(12, 10).level, 2);
    EXPECT_EQ(cellAt(1, 1).level, 3);
    EXPECT_EQ(cellAt(1, 1).movesPerTurn, 2);
    EXPECT_EQ(cellAt(15, 8).level, 4);
    EXPECT_EQ(cellAt(15, 8).movesPerTurn, 3);
    // Nothing moves until OK is clicked.
    runFrames(200);
    EXPECT_EQ(gameState.cursorX, kMenuX);
    EXPECT_EQ(gameState.cursorY, kDemoButtonY);
    EXPECT_EQ(gameState.demoStep, 0);
    EXPECT_EQ(gameState.demoState, 0);
}

TEST_F(DemonstrationTest, AWholeRunPlaysFourCapturesWithTheirSoundsAndPacing) {
    startGame();
    startDemo();
    const int start = hl::frameNumber();

    struct Capture {
        int fromX, fromY, toX, toY;
        std::vector<std::pair<int, int>> taken;
        int owner, kills;
        int nextPlayer;
        int whiteLeft, blackLeft;
    };
    const Capture captures[4] = {
        {5, 6, 7, 6, {{6, 6}}, PLAYER_WHITE, 1, PLAYER_BLACK, 10, 9},
        {12, 10, 10, 8, {{11, 9}}, PLAYER_BLACK, 4, PLAYER_BLACK, 9, 9},
        {1, 1, 4, 1, {{2, 1}, {3, 1}}, PLAYER_BLACK, 7, PLAYER_WHITE, 7, 9},
        {15, 8, 18, 11, {{16, 9}, {17, 10}}, PLAYER_WHITE, 9, PLAYER_WHITE, 7, 7},
    };
    for (int lesson = 0; lesson < 4; ++lesson) {
        SCOPED_TRACE(lesson);
        const Capture& c = captures[lesson];
        const LessonTrace t = playLesson(lesson);
        ASSERT_GT(t.end, 0);

        // The select step begins the frame after the cursor arrives on the piece, the move step
        // the frame after it arrives on the landing square.
        EXPECT_EQ(t.selectBegins, t.arriveSelect + 1);
        EXPECT_EQ(t.moveBegins, t.arriveMove + 1);
        EXPECT_EQ(t.selectClick, t.selectBegins + 100);
        if (lesson == 0) {
            // First run since start-up: the timers start only now.
            EXPECT_EQ(t.leaveForMove, t.selectBegins + 200);
        } else {
            EXPECT_EQ(t.leaveForMove, t.selectBegins + 100);
        }
        EXPECT_EQ(t.moveClick, t.moveBegins + (lesson == 0 ? 100 : 50));
        EXPECT_EQ(t.leaveForReturn, t.moveBegins + 100);
        EXPECT_EQ(t.clickFrames, 2);  // each scripted click lasts one frame
        EXPECT_EQ(t.cursor.back(), std::make_pair(kOkX, kOkY));

        // The board acts on each click in the next frame.
        const std::vector<std::pair<int, int>> expectedSounds = {{SOUND_CLICK, t.selectClick + 1},
                                                                 {SOUND_ATTACK, t.moveClick + 1}};
        EXPECT_EQ(soundsBetween(t.okFrame, t.end), expectedSounds);

        EXPECT_EQ(cellAt(c.fromX, c.fromY).occupied, -1);
        for (const auto& [x, y] : c.taken) {
            EXPECT_EQ(cellAt(x, y).occupied, -1) << x << "," << y;
        }
        EXPECT_EQ(cellAt(c.toX, c.toY).occupied, 1);
        EXPECT_EQ(cellAt(c.toX, c.toY).owner, c.owner);
        EXPECT_EQ(cellAt(c.toX, c.toY).kills, c.kills);
        EXPECT_EQ(gameState.onBoard[PLAYER_WHITE], c.whiteLeft);
        EXPECT_EQ(gameState.onBoard[PLAYER_BLACK], c.blackLeft);

        // Back to the prompt, the user has the cursor again.
        EXPECT_EQ(gameState.demoState, lesson + 1);
        EXPECT_EQ(gameState.demoStep, 0);
        EXPECT_EQ(gameState.currentPlayer, c.nextPlayer);
        EXPECT_EQ(gameState.playPhase, 0);
        EXPECT_EQ(gameState.cursorUserControlled, 1);
        EXPECT_EQ(gameState.demoOkPromptVisible, 1);
        EXPECT_EQ(gameState.leftButton, 0);
    }
    EXPECT_EQ(soundsBetween(start, hl::frameNumber()).size(), 8u);

    // The last OK clears the board and brings the menu back.
    pressLeft();
    runFrames(1);
    EXPECT_EQ(gameState.demoMode, 0);
    EXPECT_EQ(gameState.menuVisible, 1);
    EXPECT_EQ(gameState.cursorUserControlled, 1);
    EXPECT_EQ(gameState.playPhase, 0);
    EXPECT_EQ(gameState.clickLatch, 0);
    for (const Cell& cell : board.cells) {
        EXPECT_EQ(cell.occupied, -1);
    }
    releaseLeft();
    runFrames(1);

    // A run after a complete earlier one: both timers already run, so the selecting click and
    // the departure come together, as do the moving click and the way back.
    startDemo();
    const LessonTrace again = playLesson(0);
    EXPECT_EQ(again.selectClick, again.selectBegins + 100);
    EXPECT_EQ(again.leaveForMove, again.selectClick);
    EXPECT_EQ(again.moveClick, again.moveBegins + 100);
    EXPECT_EQ(again.leaveForReturn, again.moveClick);
    EXPECT_EQ(cellAt(7, 6).owner, PLAYER_WHITE);
    EXPECT_EQ(cellAt(7, 6).kills, 1);
    EXPECT_EQ(cellAt(6, 6).occupied, -1);
    const std::vector<std::pair<int, int>> expectedSounds = {{SOUND_CLICK, again.selectClick + 1},
                                                             {SOUND_ATTACK, again.moveClick + 1}};
    EXPECT_EQ(soundsBetween(again.okFrame, again.end), expectedSounds);
}

TEST_F(DemonstrationTest, TheCursorTravelsOnePixelPerAxisPerFrame) {
    startGame();
    startDemo();
    moveCursorTo(kOkX, kOkY);
    pressLeft();
    runFrames(1);
    releaseLeft();
    // From (750, 20) to (220, 260): 240 frames diagonally, then 290 straight on; the first step
    // is taken in the frame of the OK click.
    std::vector<std::pair<int, int>> cursor{{gameState.cursorX, gameState.cursorY}};
    for (int frame = 1; frame <= 530; ++frame) {
        runFrames(1);
        cursor.emplace_back(gameState.cursorX, gameState.cursorY);
        EXPECT_EQ(gameState.demoStep, frame < 530 ? 0 : 1) << frame;
    }
    EXPECT_EQ(cursor[0], std::make_pair(749, 21));
    EXPECT_EQ(cursor[239], std::make_pair(510, 260));
    EXPECT_EQ(cursor[240], std::make_pair(509, 260));
    EXPECT_EQ(cursor[528], std::make_pair(221, 260));
    EXPECT_EQ(cursor[529], std::make_pair(220, 260));
    EXPECT_EQ(cursor[530], std::make_pair(220, 260));
}

TEST_F(DemonstrationTest, TheOkClickNeverReachesTheBoard) {
    startGame();
    startDemo();
    // A white piece under the OK button: a click that reached the board would select it.
    placePiece(18, 0, PLAYER_WHITE, 0);
    // The button is pressed beside OK and dragged into it: the lesson starts on entering.
    moveCursorTo(700, 20);
    pressLeft();
    runFrames(3);
    EXPECT_EQ(gameState.clickLatch, 0);
    EXPECT_EQ(gameState.selectionActive, 0);
    moveMouse(30, 0);
    runFrames(1);
    EXPECT_EQ(gameState.clickLatch, 1);
    EXPECT_EQ(gameState.demoOkPromptVisible, 0);
    EXPECT_EQ(gameState.demoReturnX, 730);
    const int okFrame = hl::frameNumber();
    // Held on, and released much later: nothing of it reaches the board.
    runFrames(20);
    releaseLeft();
    runFrames(20);
    EXPECT_EQ(gameState.selectionActive, 0);
    EXPECT_EQ(gameState.leftButton, 0);
    EXPECT_TRUE(soundsBetween(okFrame - 3, hl::frameNumber()).empty());
}

TEST_F(DemonstrationTest, ClicksElsewhereWhileThePromptWaitsDoNothing) {
    startGame();
    startDemo();
    runFrames(1);
    clickAt(220, 260);  // white's piece on (5, 6)
    clickAt(300, 260);
    EXPECT_EQ(gameState.selectionActive, 0);
    EXPECT_EQ(gameState.clickLatch, 0);
    EXPECT_EQ(cellAt(5, 6).occupied, 1);
    EXPECT_TRUE(sounds().empty());
}

TEST_F(DemonstrationTest, TheUsersMouseAndEscapeAreIgnoredDuringALesson) {
    startGame();
    startDemo();
    moveCursorTo(kOkX, kOkY);
    pressLeft();
    runFrames(1);
    ASSERT_EQ(gameState.clickLatch, 1);
    hl::setEscape(true);
    for (int frame = 1; frame <= 20; ++frame) {
        moveMouse(5, 7);
        frame % 2 ? releaseLeft() : pressLeft();
        runFrames(1);
        EXPECT_EQ(gameState.cursorX, kOkX - 1 - frame);
        EXPECT_EQ(gameState.cursorY, kOkY + 1 + frame);
        EXPECT_EQ(gameState.leftButton, 0);
        EXPECT_EQ(gameState.menuVisible, 0);
    }
    hl::setEscape(false);
    pressLeft();  // lost: the lesson still has the mouse
    for (int guard = 0; guard < 3000 && gameState.clickLatch; ++guard) {
        runFrames(1);
    }
    ASSERT_EQ(gameState.clickLatch, 0);
    EXPECT_EQ(gameState.cursorX, kOkX);
    EXPECT_EQ(gameState.cursorY, kOkY);
    runFrames(1);
    EXPECT_EQ(gameState.leftButton, 0);
    EXPECT_EQ(gameState.clickLatch, 0);  // no held button starts the next lesson
    EXPECT_EQ(cellAt(7, 6).kills, 1);
}

TEST_F(DemonstrationTest, EscapeWhileThePromptWaitsOpensTheMenuOverTheDemonstration) {
    startGame();
    startDemo();
    hl::setEscape(true);
    runFrames(1);
    hl::setEscape(false);
    EXPECT_EQ(gameState.menuVisible, 1);
    EXPECT_EQ(gameState.demoMode, 1);
    // A lesson started under the menu plays to its end, but the board does not take its clicks.
    const LessonTrace t = playLesson(0);
    EXPECT_GT(t.end, 0);
    EXPECT_EQ(gameState.demoState, 1);
    EXPECT_EQ(cellAt(5, 6).occupied, 1);
    EXPECT_EQ(cellAt(6, 6).occupied, 1);
    EXPECT_EQ(cellAt(7, 6).occupied, -1);
    EXPECT_TRUE(soundsBetween(t.okFrame, t.end).empty());
    EXPECT_EQ(gameState.menuVisible, 1);
}

TEST_F(DemonstrationTest, TheDemonstrationButtonRestartsARunningDemonstration) {
    startGame();
    startDemo();
    // Somewhere in a run: a lesson played, its piece gone.
    removePiece(6, 6);
    gameState.demoState = 2;
    gameState.currentPlayer = PLAYER_BLACK;
    hl::setEscape(true);
    runFrames(1);
    hl::setEscape(false);
    ASSERT_EQ(gameState.menuVisible, 1);
    startDemo();
    EXPECT_EQ(gameState.demoState, 0);
    EXPECT_EQ(gameState.currentPlayer, PLAYER_WHITE);
    EXPECT_EQ(gameState.menuVisible, 0);
    EXPECT_EQ(cellAt(6, 6).occupied, 1);
    EXPECT_EQ(gameState.pieceCount, 28);
}

}  // namespace
