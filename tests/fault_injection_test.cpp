// Every platform failure the game handles, beyond the start-up steps and the blit, fill and flip
// of shell_test.cpp: each picture of each sheet, each missing or broken sound file, lost
// surfaces, lost mouse input, devices that cannot be acquired, a keyboard that cannot be read,
// a text output that cannot be had, and a save cut short at any byte. Each says what the player
// sees, what the debugger output gets, how the program ends, and that nothing is left behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "board/board.h"
#include "platform/headless.h"
#include "screens/saved_game.h"
#include "shell/app.h"
#include "shell/timers.h"
#include "test_support.h"
#include "wave_builder.h"

namespace hl = plat::headless;
namespace fs = std::filesystem;
using plat::Op;

namespace {

// The debugger lines as UTF-8, the way the headless back end keeps them.
const std::string kNoDc = "Impossible d'obtenir DC de la surface.";
const std::string kPalettised = "Mode RGB non palettis\xC3\xA9 obligatoire.";
const std::string kCopyFailed =
    "BLT a \xC3\xA9"
    "chou\xC3\xA9"
    ".";
const std::string kNoBlit =
    "Impossible d'ex\xC3\xA9"
    "cuter Blt.";
const std::string kSaveFailed = "Impossible d'enregistrer la partie.";

class FaultInjection : public HeadlessGame {
  protected:
    // Nothing of the platform is left once everything has been released.
    void expectNothingLeft() {
        releaseAll();
        EXPECT_EQ(plat::liveObjectCount(), 0);
        EXPECT_EQ(plat::liveBlockCount(), 0);
    }

    static bool allBlack(plat::Handle surface) {
        const std::vector<std::uint16_t>* pixels = hl::surfacePixels(surface, nullptr, nullptr);
        if (pixels == nullptr) {
            return false;
        }
        for (std::uint16_t pixel : *pixels) {
            if (pixel != 0) {
                return false;
            }
        }
        return true;
    }

    // A fresh process: the headless back end and the game's globals as at start.
    void restart() {
        hl::install();
        hl::setDriver([] { return false; });
        resetProcessState();
        resetTimers();
        resetPlatformSlots();
    }
};

// A picture that cannot be had leaves its sheet as it was created (black: every pixel
// transparent), says why when the game knows, and start-up goes on.
TEST_F(FaultInjection, EachPictureThatFailsLeavesItsSheetBlackAndTheGameRuns) {
    struct Kind {
        Op op;
        const char* what;
        std::vector<std::string> debug;
    };
    const Kind kinds[] = {
        {Op::LoadPicture, "the file cannot be loaded", {}},
        {Op::GetSurfaceDesc, "the sheet's description cannot be read", {}},
        {Op::GetSurfaceDc, "the sheet's device context cannot be had", {kNoDc}},
        {Op::PixelFormatPalettised, "the display is palettised", {kPalettised}},
        {Op::PixelFormatExtraFlag, "the pixel format has another flag", {kPalettised}},
        {Op::CopyPicture, "the copy into the sheet fails", {kCopyFailed}},
    };
    for (const Kind& kind : kinds) {
        for (int sheet = 1; sheet <= 7; ++sheet) {
            SCOPED_TRACE(std::string(kind.what) + ", sheet " + std::to_string(sheet));
            restart();
            hl::failOperation(kind.op, 1, sheet - 1);
            ASSERT_TRUE(start());
            EXPECT_EQ(hl::debugLines(), kind.debug);
            for (int other = 1; other <= 7; ++other) {
                EXPECT_EQ(allBlack(sheets[other]), other == sheet) << "sheet " << other;
            }
            EXPECT_EQ(runFrames(2), -1);
            EXPECT_EQ(hl::flipCount(), 2);
            EXPECT_EQ(hl::debugLines(), kind.debug);
            expectNothingLeft();
        }
    }
}

// All four sounds must load: a missing or broken file ends start-up without a word, before the
// display surfaces exist, and its memory is given back.
TEST_F(FaultInjection, EachSoundFileMissingOrBrokenEndsStartUpSilently) {
    const std::string names[] = {"clic.wav", "depl.wav", "att.wav", "win.wav"};
    struct Case {
        std::string what;
        std::function<void(const std::string& name)> spoil;
    };
    const Case cases[] = {
        {"missing", [](const std::string&) {}},
        {"not a wave",
         [this](const std::string& name) { writeFile("waves/" + name, "RIFF1234AVI junk"); }},
        {"empty", [this](const std::string& name) { writeFile("waves/" + name, ""); }},
        {"no samples",
         [this](const std::string& name) {
             namespace wb = wave_builder;
             writeFile("waves/" + name,
                       wb::riff("WAVE", {wb::chunk("fmt ", wb::pcmFormat(1, 11025, 8)),
                                         wb::chunk("data", "")}));
         }},
    };
    for (const Case& c : cases) {
        for (const std::string& name : names) {
            SCOPED_TRACE(name + " " + c.what);
            wave_builder::writeGameWaves(workDir, name);
            c.spoil(name);
            restart();
            EXPECT_EQ(gameMain(), 0);
            EXPECT_EQ(hl::frameNumber(), 0);
            EXPECT_EQ(hl::flipCount(), 0);
            EXPECT_TRUE(hl::debugLines().empty());
            EXPECT_EQ(primarySurface, plat::kNoHandle);
            EXPECT_EQ(plat::liveBlockCount(), 0);
            expectNothingLeft();
        }
    }
}

// Failures while the game runs: what the frame after them shows and whether the program ends.
TEST_F(FaultInjection, FailuresDuringTheGame) {
    struct Case {
        const char* what;
        std::function<void()> inject;    // after start-up and one frame
        int exitCode;                    // of the next two frames: -1 when the game goes on
        std::vector<std::string> debug;  // the debugger lines by then
        std::function<void()> afterOne;  // what the first frame after the failure left
        std::function<void()> afterTwo;  // and the second (when the game goes on)
    };
    const auto nothing = [] {};
    const auto cursorAt = [](int x, int y) {
        return [x, y] {
            EXPECT_EQ(gameState.cursorX, x);
            EXPECT_EQ(gameState.cursorY, y);
        };
    };
    const auto menuShown = [](bool shown) {
        return [shown] { EXPECT_EQ(gameState.menuVisible, shown ? 1 : 0); };
    };
    const Case cases[] = {
        {"surfaces lost", [] { hl::loseSurfaces(); }, 0, {kNoBlit}, nothing, nothing},
        {"surfaces lost in the background",
         [] {
             hl::setFocus(false);
             hl::loseSurfaces();
             hl::setFocus(true);
         },
         0,
         {kNoBlit},
         nothing,
         nothing},
        {"mouse input lost once: taken back and read",
         [this] {
             moveMouse(10, 5);
             hl::failOperation(Op::MouseInputLost);
         },
         -1,
         {},
         cursorAt(400, 295),
         cursorAt(400, 295)},
        {"mouse input lost twice: nothing read until the next frame",
         [this] {
             moveMouse(10, 5);
             hl::failOperation(Op::MouseInputLost, 2);
         },
         -1,
         {},
         cursorAt(390, 290),
         cursorAt(400, 295)},
        {"mouse input lost and the mouse not taken back",
         [this] {
             moveMouse(10, 5);
             hl::failOperation(Op::MouseInputLost);
             hl::failOperation(Op::AcquireDevice, 1, 2);  // the third: after the loss
         },
         -1,
         {},
         cursorAt(390, 290),
         cursorAt(400, 295)},
        {"the devices cannot be acquired",
         [this] {
             moveMouse(10, 5);
             gameState.menuVisible = 0;
             hl::setEscape(true);
             hl::failOperation(Op::AcquireDevice, 2);
         },
         -1,
         {},
         [] {
             EXPECT_EQ(gameState.cursorX, 390);
             EXPECT_EQ(gameState.menuVisible, 0);
         },
         [] {
             EXPECT_EQ(gameState.cursorX, 400);
             EXPECT_EQ(gameState.menuVisible, 1);
         }},
        {"the keyboard cannot be read",
         [] {
             gameState.menuVisible = 0;
             hl::setEscape(true);
             hl::failOperation(Op::ReadKeyboard);
         },
         -1,
         {},
         menuShown(false),
         menuShown(true)},
        {"no device context for the texts",
         [] { hl::failOperation(Op::GetSurfaceDc, 100); },
         -1,
         {},
         menuShown(true),
         menuShown(true)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restart();
        ASSERT_TRUE(start());
        ASSERT_EQ(runFrames(1), -1);
        const int flips = hl::flipCount();
        c.inject();
        const int first = runFrames(1);
        c.afterOne();
        if (c.exitCode == -1) {
            EXPECT_EQ(first, -1);
            EXPECT_EQ(runFrames(1), -1);
            c.afterTwo();
            EXPECT_EQ(hl::flipCount(), flips + 2);
        } else {
            EXPECT_EQ(first, c.exitCode);
            // Nothing more is shown: the picture stays the last one flipped.
            EXPECT_EQ(hl::flipCount(), flips);
            EXPECT_EQ(plat::liveObjectCount(), 0);
        }
        EXPECT_EQ(hl::debugLines(), c.debug);
        expectNothingLeft();
    }
}

// A save that breaks off after any number of bytes (the file system refuses to let the file
// grow further) leaves the game saved before under that name whole, removes what it had
// written, and says so once.
TEST_F(FaultInjection, ASaveCutShortAtAnyByteKeepsTheOldFileWhole) {
    resetProcessState();
    clearBoard();
    placePiece(3, 4, PLAYER_WHITE, 2);
    placePiece(19, 14, PLAYER_BLACK, 0);
    writeSavedGame("ABCDE");
    const std::string old = readFile("sauv/ABCDE.SAV");
    ASSERT_FALSE(old.empty());

    // The new game's file, in full, to know how long it is.
    placePiece(10, 10, PLAYER_BLACK, 7);
    gameState.currentPlayer = PLAYER_BLACK;
    writeSavedGame("BBBBB");
    const std::string wanted = readFile("sauv/BBBBB.SAV");
    ASSERT_NE(wanted, old);
    ASSERT_TRUE(hl::debugLines().empty());

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    // Writing past the limit must fail the write rather than end the process.
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    std::size_t failures = 0;
    for (std::size_t limit = 0; limit <= wanted.size(); ++limit) {
        rlimit cut = saved;
        cut.rlim_cur = limit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &cut), 0);
        writeSavedGame("ABCDE");
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
        if (limit < wanted.size()) {
            ++failures;
            ASSERT_EQ(readFile("sauv/ABCDE.SAV"), old) << "cut after " << limit << " bytes";
            ASSERT_FALSE(fs::exists(workDir / "sauv" / "ABCDE.SAV.new")) << limit;
            ASSERT_EQ(hl::debugLines().size(), failures) << limit;
            ASSERT_EQ(hl::debugLines().back(), kSaveFailed);
        } else {
            EXPECT_EQ(readFile("sauv/ABCDE.SAV"), wanted);
            EXPECT_EQ(hl::debugLines().size(), failures);
        }
    }
    signal(SIGXFSZ, previousHandler);
    // The old game still loads after all those failures.
    setrlimit(RLIMIT_FSIZE, &saved);
    writeFile("sauv/CCCCC.SAV", old);
    resetProcessState();
    clearBoard();
    ASSERT_TRUE(readSavedGame("CCCCC"));
    EXPECT_EQ(cellAt(3, 4).occupied, 1);
    EXPECT_EQ(cellAt(19, 14).owner, PLAYER_BLACK);
    EXPECT_EQ(cellAt(10, 10).occupied, -1);
}

}  // namespace
