// The mouse's records and the Escape key, as the frames see them.
#include "input/input.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "board/board.h"
#include "picture_fixture.h"
#include "platform/headless.h"
#include "shell/app.h"

namespace {

using plat::headless::addMouseRecord;

class InputTest : public PictureGame {
  protected:
    void SetUp() override {
        PictureGame::SetUp();
        ASSERT_TRUE(start());
        ASSERT_EQ(runFrames(1), -1);  // the first frame's one-time work
    }
};

struct MotionCase {
    const char* name;
    int startX;
    int startY;
    std::vector<plat::MouseRecord> records;
    int endX;
    int endY;
};

constexpr std::uint32_t X = plat::kMouseOffsetX;
constexpr std::uint32_t Y = plat::kMouseOffsetY;

TEST_F(InputTest, AMotionThatWouldLeaveTheRangeIsDroppedNotClamped) {
    const MotionCase cases[] = {
        {"two records add up", 100, 100, {{X, 3}, {X, 4}}, 107, 100},
        {"right edge: +5 from 776 dropped", 776, 100, {{X, 5}}, 776, 100},
        {"right edge: +3 from 776 reaches 779", 776, 100, {{X, 3}}, 779, 100},
        {"right edge: +1 from 779 dropped", 779, 100, {{X, 1}}, 779, 100},
        {"right edge: only the fitting record acts", 776, 100, {{X, 5}, {X, 3}, {X, 1}}, 779, 100},
        {"left edge: -3 from 3 dropped", 3, 100, {{X, -3}}, 3, 100},
        {"left edge: -2 from 3 reaches 1", 3, 100, {{X, -2}}, 1, 100},
        {"left edge: -1 from 1 dropped", 1, 100, {{X, -1}}, 1, 100},
        {"bottom edge: +4 from 576 dropped", 100, 576, {{Y, 4}}, 100, 576},
        {"bottom edge: +3 from 576 reaches 579", 100, 576, {{Y, 3}}, 100, 579},
        {"top edge: -3 from 3 dropped", 100, 3, {{Y, -3}}, 100, 3},
        {"top edge: -2 from 3 reaches 1", 100, 3, {{Y, -2}}, 100, 1},
        {"per axis: x dropped, y taken", 779, 300, {{X, 10}, {Y, -20}}, 779, 280},
        {"per axis: y dropped, x taken", 300, 1, {{X, -20}, {Y, -10}}, 280, 1},
        {"a huge motion is dropped, no overflow", 390, 290, {{X, INT_MAX}, {Y, INT_MIN}}, 390, 290},
        {"the wheel and other buttons do nothing", 390, 290, {{8, 120}, {14, 0x80}}, 390, 290},
    };
    for (const MotionCase& c : cases) {
        SCOPED_TRACE(c.name);
        gameState.cursorX = c.startX;
        gameState.cursorY = c.startY;
        for (const plat::MouseRecord& record : c.records) {
            addMouseRecord(record.offset, record.data);
        }
        runFrames(1);
        EXPECT_EQ(gameState.cursorX, c.endX);
        EXPECT_EQ(gameState.cursorY, c.endY);
        EXPECT_EQ(gameState.leftButton, 0);
        EXPECT_EQ(gameState.rightButton, 0);
    }
}

TEST_F(InputTest, AHeldButtonStaysDownUntilItsReleaseRecord) {
    addMouseRecord(plat::kMouseOffsetButton0, 0x80);
    addMouseRecord(plat::kMouseOffsetButton1, 0x81);
    runFrames(1);
    EXPECT_EQ(gameState.leftButton, 1);
    EXPECT_EQ(gameState.rightButton, 1);
    runFrames(3);
    EXPECT_EQ(gameState.leftButton, 1);
    addMouseRecord(plat::kMouseOffsetButton0, 0x7F);  // bit 0x80 clear: released
    runFrames(1);
    EXPECT_EQ(gameState.leftButton, 0);
    EXPECT_EQ(gameState.rightButton, 1);
    addMouseRecord(plat::kMouseOffsetButton1, 0);
    runFrames(1);
    EXPECT_EQ(gameState.rightButton, 0);
}

TEST_F(InputTest, WhileTheDemonstrationHasTheCursorTheMouseIsReadAndLost) {
    gameState.cursorUserControlled = 0;
    gameState.menuVisible = 0;
    addMouseRecord(X, 10);
    addMouseRecord(Y, 10);
    addMouseRecord(plat::kMouseOffsetButton0, 0x80);
    runFrames(1);
    EXPECT_EQ(gameState.cursorX, 390);
    EXPECT_EQ(gameState.cursorY, 290);
    EXPECT_EQ(gameState.leftButton, 0);
    gameState.cursorUserControlled = 1;
    runFrames(1);
    EXPECT_EQ(gameState.cursorX, 390);
    EXPECT_EQ(gameState.cursorY, 290);
    EXPECT_EQ(gameState.leftButton, 0);
}

TEST_F(InputTest, TheMouseKeeps32RecordsBetweenTwoFrames) {
    gameState.cursorX = 100;
    for (int i = 0; i < 40; ++i) {
        addMouseRecord(X, 1);
    }
    runFrames(1);
    EXPECT_EQ(gameState.cursorX, 132);
    runFrames(1);
    EXPECT_EQ(gameState.cursorX, 132);
}

TEST_F(InputTest, LostInputIsReacquiredAndReadOnce) {
    // The device comes back at once: the record is read in the same frame.
    addMouseRecord(X, 5);
    plat::headless::failOperation(plat::Op::MouseInputLost);
    runFrames(1);
    EXPECT_EQ(gameState.cursorX, 395);

    // The device cannot be taken back (the frame's two acquisitions succeed, the third fails):
    // nothing is read in this frame.
    addMouseRecord(X, 5);
    plat::headless::failOperation(plat::Op::MouseInputLost);
    plat::headless::failOperation(plat::Op::AcquireDevice, 1, 2);
    runFrames(1);
    EXPECT_EQ(gameState.cursorX, 395);
    plat::headless::clearFailures();

    // Lost twice in a row: the one retry fails and the frame reads nothing more.
    gameState.cursorX = 200;
    addMouseRecord(X, 5);
    plat::headless::failOperation(plat::Op::MouseInputLost, 2);
    runFrames(1);
    EXPECT_EQ(gameState.cursorX, 200);
}

TEST_F(InputTest, AFailedAcquisitionAtTheStartOfAFrameIsIgnored) {
    plat::headless::failOperation(plat::Op::AcquireDevice, 2);
    EXPECT_EQ(runFrames(1), -1);
    plat::headless::clearFailures();
    addMouseRecord(X, 5);
    runFrames(1);
    EXPECT_EQ(gameState.cursorX, 395);
}

struct EscapeCase {
    const char* name;
    bool gameOver;
    bool saveScreen;
    bool loadScreen;
    bool demoMode;
    bool clickLatch;
    bool exits;
    bool opensMenu;
};

TEST_F(InputTest, TheEscapeRuleInEachState) {
    const EscapeCase cases[] = {
        {"play", false, false, false, false, false, false, true},
        {"save screen", false, true, false, false, false, false, false},
        {"load screen", false, false, true, false, false, false, false},
        {"demonstration lesson", false, false, false, true, true, false, false},
        {"demonstration's OK prompt", false, false, false, true, false, false, true},
        {"latch without demonstration", false, false, false, false, true, false, true},
        {"result picture", true, false, false, false, false, true, false},
        {"result picture over the save screen", true, true, false, false, false, true, false},
        {"result picture over the load screen", true, false, true, false, false, true, false},
        {"result picture during a lesson", true, false, false, true, true, true, false},
    };
    plat::headless::setEscape(true);
    for (const EscapeCase& c : cases) {
        SCOPED_TRACE(c.name);
        gameState.menuVisible = 0;
        gameState.gameOver = c.gameOver;
        gameState.saveScreenActive = c.saveScreen;
        gameState.loadScreenActive = c.loadScreen;
        gameState.demoMode = c.demoMode;
        gameState.clickLatch = c.clickLatch;
        pollMouse();  // acquires the keyboard, as the frame does
        bool exited = false;
        try {
            pollKeyboard();
        } catch (const plat::headless::ProcessExit& exit) {
            exited = true;
            EXPECT_EQ(exit.code, 0);
        }
        EXPECT_EQ(exited, c.exits);
        EXPECT_EQ(gameState.menuVisible, c.opensMenu ? 1 : 0);
    }
}

TEST_F(InputTest, EscapeHeldOpensTheMenuFrameAfterFrameAndNoKeyNothing) {
    gameState.menuVisible = 0;
    pollMouse();
    pollKeyboard();
    EXPECT_EQ(gameState.menuVisible, 0);
    plat::headless::setEscape(true);
    pollKeyboard();
    EXPECT_EQ(gameState.menuVisible, 1);
    gameState.menuVisible = 0;
    pollKeyboard();
    EXPECT_EQ(gameState.menuVisible, 1);
    // A keyboard that cannot be read counts as no key down.
    gameState.menuVisible = 0;
    plat::headless::failOperation(plat::Op::ReadKeyboard);
    pollKeyboard();
    EXPECT_EQ(gameState.menuVisible, 0);
}

TEST_F(InputTest, EscapeOnTheResultPictureEndsTheProgramWithStatus0) {
    gameState.gameOver = 1;
    gameState.menuVisible = 0;
    plat::headless::setEscape(true);
    EXPECT_EQ(runFrames(5), 0);
    EXPECT_EQ(plat::headless::frameNumber(), 2);
}

TEST_F(InputTest, EscapeDuringPlayOpensTheMenuInThatFrame) {
    gameState.menuVisible = 0;
    gameState.playPhase = 1;
    plat::headless::setEscape(true);
    runFrames(1);
    EXPECT_EQ(gameState.menuVisible, 1);
}

}  // namespace
