// Start-up, shutdown and fatal errors: what each failure leaves behind and says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/board.h"
#include "platform/headless.h"
#include "shell/app.h"
#include "shell/frame.h"
#include "shell/timers.h"
#include "test_support.h"

namespace hl = plat::headless;
using plat::Op;

namespace {

// The debugger lines as UTF-8, the way the headless back end keeps them.
const std::string kNoDisplay = "Impossible de cr\xC3\xA9" "er l'objet DirectDraw.";
const std::string kNoCooperation = "Impossible de d\xC3\xA9" "finir le niveau coop\xC3\xA9" "ratif.";
const std::string kNoMode = "Impossible de d\xC3\xA9" "finir le mode vid\xC3\xA9" "o.";
const std::string kNoPrimary = "Impossible de cr\xC3\xA9" "er la surface primaire.";
const std::string kNoBackBuffer = "Impossible de trouver le back buffer.";
const std::string kNoSheet = "surf offscreen non cr\xC3\xA9\xC3\xA9" "e...";
const std::string kNoBlit = "Impossible d'ex\xC3\xA9" "cuter Blt.";
const std::string kNoFlip = "Impossible de faire le basculement (flip).";

class StartUp : public HeadlessGame {};

}  // namespace

TEST_F(StartUp, SucceedsAndTheFirstFrameShowsTheMenu) {
    ASSERT_TRUE(start());
    EXPECT_EQ(runFrames(1), -1);
    EXPECT_EQ(hl::frameNumber(), 1);
    EXPECT_EQ(gameState.firstFrameDone, 1);
    EXPECT_EQ(gameState.menuVisible, 1);
    EXPECT_EQ(timerBank.counters[TIMER_GAME_END], 100);
    EXPECT_EQ(timerBank.counters[TIMER_DEMO_A], 100);
    EXPECT_EQ(timerBank.running[TIMER_GAME_END], 0);
    EXPECT_EQ(timerBank.running[TIMER_DEMO_A], 0);
    for (const Cell& cell : board.cells) {
        EXPECT_EQ(cell.occupied, -1);
    }
    EXPECT_TRUE(hl::debugLines().empty());
}

TEST_F(StartUp, FatalFailuresWriteTheirMessageReleaseEverythingAndEndWithZero) {
    struct Case {
        Op op;
        int skip;
        std::string message;
    };
    const std::vector<Case> cases = {
        {Op::CreateDisplay, 0, kNoDisplay},
        {Op::SetDisplayCooperativeLevel, 0, kNoCooperation},
        {Op::SetDisplayMode, 0, kNoMode},
        {Op::CreatePrimarySurface, 0, kNoPrimary},
        {Op::GetBackBuffer, 0, kNoBackBuffer},
        // Each of the seven sheets, in order.
        {Op::CreateSurface, 0, kNoSheet},
        {Op::CreateSurface, 1, kNoSheet},
        {Op::CreateSurface, 2, kNoSheet},
        {Op::CreateSurface, 3, kNoSheet},
        {Op::CreateSurface, 4, kNoSheet},
        {Op::CreateSurface, 5, kNoSheet},
        {Op::CreateSurface, 6, kNoSheet},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.op));
        restartProcess();
        hl::failOperation(c.op, 1, c.skip);
        EXPECT_EQ(gameMain(), 0);
        EXPECT_EQ(hl::frameNumber(), 0);
        EXPECT_EQ(hl::debugLines(), std::vector<std::string>{c.message});
        EXPECT_EQ(plat::liveObjectCount(), 0);
        EXPECT_EQ(plat::liveBlockCount(), 0);
        EXPECT_EQ(hl::flipCount(), 0);
        EXPECT_EQ(displayObject, plat::kNoHandle);
        EXPECT_EQ(inputObject, plat::kNoHandle);
    }
}

TEST_F(StartUp, SilentFailuresEndWithZeroAndNoMessage) {
    struct Case {
        Op op;
        int skip;
    };
    // The sound buffer steps fail for each of the four sounds in turn.
    const Case cases[] = {
        {Op::CreateWindow, 0},      {Op::CreateInput, 0},
        {Op::CreateSoundDevice, 0}, {Op::SetSoundCooperativeLevel, 0},
        {Op::CreateSoundBuffer, 0}, {Op::CreateSoundBuffer, 1},
        {Op::CreateSoundBuffer, 2}, {Op::CreateSoundBuffer, 3},
        {Op::LockSoundBuffer, 0},   {Op::LockSoundBuffer, 1},
        {Op::LockSoundBuffer, 2},   {Op::LockSoundBuffer, 3},
        {Op::UnlockSoundBuffer, 0}, {Op::UnlockSoundBuffer, 1},
        {Op::UnlockSoundBuffer, 2}, {Op::UnlockSoundBuffer, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.op)) + " after " + std::to_string(c.skip));
        restartProcess();
        hl::failOperation(c.op, 1, c.skip);
        EXPECT_EQ(gameMain(), 0);
        EXPECT_EQ(hl::frameNumber(), 0);
        EXPECT_TRUE(hl::debugLines().empty());
        // Nothing was shown and no display surface was made.
        EXPECT_EQ(primarySurface, plat::kNoHandle);
        EXPECT_EQ(hl::flipCount(), 0);
        // The wave images are given back whatever step failed.
        EXPECT_EQ(plat::liveBlockCount(), 0);
        releaseAll();
        EXPECT_EQ(plat::liveObjectCount(), 0);
    }
}

TEST_F(StartUp, WhenTheDisplayCannotBeCreatedOnlyTheInputObjectIsReleased) {
    hl::failOperation(Op::CreateDisplay);
    EXPECT_FALSE(start());
    EXPECT_EQ(soundDevice, plat::kNoHandle);
    EXPECT_EQ(plat::liveObjectCount(), 0);
}

TEST_F(StartUp, PictureFailuresAreNotFatal) {
    hl::failOperation(Op::LoadPicture, 7);
    ASSERT_TRUE(start());
    EXPECT_EQ(runFrames(2), -1);
    EXPECT_EQ(hl::frameNumber(), 2);
}

TEST_F(StartUp, ReleaseAllTwiceIsHarmless) {
    ASSERT_TRUE(start());
    EXPECT_GT(plat::liveObjectCount(), 0);
    releaseAll();
    EXPECT_EQ(plat::liveObjectCount(), 0);
    releaseAll();
    EXPECT_EQ(plat::liveObjectCount(), 0);
    EXPECT_EQ(backBuffer, plat::kNoHandle);
}

TEST_F(StartUp, AFailedFlipEndsTheProgram) {
    ASSERT_TRUE(start());
    hl::failOperation(Op::Flip, 1, 3);
    EXPECT_EQ(runFrames(10), 0);
    EXPECT_EQ(hl::frameNumber(), 4);
    EXPECT_EQ(hl::debugLines(), std::vector<std::string>{kNoFlip});
    EXPECT_EQ(plat::liveObjectCount(), 0);
}

TEST_F(StartUp, AFailedBlitEndsTheFrameWithoutAFlip) {
    ASSERT_TRUE(start());
    runFrames(1);
    const int flips = hl::flipCount();
    hl::failOperation(Op::Blit);
    EXPECT_EQ(runFrames(5), 0);
    EXPECT_EQ(hl::flipCount(), flips);
    EXPECT_EQ(hl::debugLines(), std::vector<std::string>{kNoBlit});
    EXPECT_EQ(hl::frameNumber(), 2);
    // Drawing after the release does nothing and reports failure.
    EXPECT_FALSE(runFrame(mainWindow));
}

TEST_F(StartUp, AFailedFillEndsTheProgram) {
    ASSERT_TRUE(start());
    hl::failOperation(Op::ColourFill);
    EXPECT_EQ(runFrames(3), 0);
    EXPECT_EQ(hl::debugLines(), std::vector<std::string>{kNoBlit});
}

TEST_F(StartUp, TheCloseCommandReleasesEverythingAndEndsWithZero) {
    ASSERT_TRUE(start());
    runFrames(3);
    hl::closeWindow();
    EXPECT_EQ(runFrames(0), 0);
    EXPECT_EQ(plat::liveObjectCount(), 0);
    EXPECT_TRUE(hl::debugLines().empty());
}

TEST_F(StartUp, FramesStopWhileInactiveAndTheStateStandsStill) {
    ASSERT_TRUE(start());
    runFrames(5);
    hl::setFocus(false);
    runFrames(20);
    EXPECT_EQ(hl::frameNumber(), 5);
    EXPECT_FALSE(appActive);
    hl::setFocus(true);
    runFrames(2);
    EXPECT_EQ(hl::frameNumber(), 7);
}

TEST_F(StartUp, TheFirstFrameReadsTheOptionsFile) {
    writeFile("options.inf", "blink\n10\nend\n");
    ASSERT_TRUE(start());
    EXPECT_EQ(gameState.blinkPeriod, 25);
    runFrames(1);
    EXPECT_EQ(gameState.blinkPeriod, 10);
    EXPECT_EQ(gameState.blinkCounter, 25);
}
