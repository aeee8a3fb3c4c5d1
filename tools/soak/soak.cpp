#include "soak/soak.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "board/board.h"
#include "platform/headless.h"
#include "replay/runner.h"
#include "replay/script.h"
#include "shell/app.h"
#include "shell/timers.h"
#include "soak/generator.h"

namespace soak {
namespace {

namespace fs = std::filesystem;
namespace hl = plat::headless;

// A broken promise: the soak stops there.
struct Broken {
    std::string what;
};
// Enough frames have run.
struct Done {};

// The menu's quit button (button 6).
constexpr int kQuitLeft = 325;
constexpr int kQuitTop = 50 + 75 * 5;

std::string at(long long frame) {
    return "frame " + std::to_string(frame) + ": ";
}

void checkFrame(long long frame) {
    const GameState& g = gameState;
    if (!hl::debugLines().empty()) {
        throw Broken{at(frame) + "debugger output: " + hl::debugLines().front()};
    }
    if (g.cursorX < 1 || g.cursorX > 779 || g.cursorY < 1 || g.cursorY > 579) {
        throw Broken{at(frame) + "the cursor is at (" + std::to_string(g.cursorX) + ", " +
                     std::to_string(g.cursorY) + ")"};
    }
    if ((g.leftButton != 0 && g.leftButton != 1) || (g.rightButton != 0 && g.rightButton != 1)) {
        throw Broken{at(frame) + "a button is neither up nor down"};
    }
    if (g.currentPlayer > 1) {
        throw Broken{at(frame) + "player to move " + std::to_string(g.currentPlayer)};
    }
    if (g.selectionActive && (g.selectedX < 0 || g.selectedX >= BOARD_COLUMNS || g.selectedY < 0 ||
                              g.selectedY >= BOARD_ROWS)) {
        throw Broken{at(frame) + "the selection is off the board"};
    }
    if (g.fileNameLength < 0 || g.fileNameLength > 5) {
        throw Broken{at(frame) + "a file name of " + std::to_string(g.fileNameLength) + " letters"};
    }
    for (int i = 0; i < TIMER_COUNT; ++i) {
        if (timerBank.counters[i] < 0) {
            throw Broken{at(frame) + "timer " + std::to_string(i) + " stands at " +
                         std::to_string(timerBank.counters[i])};
        }
    }
    if (g.gameOver && g.playPhase) {
        throw Broken{at(frame) + "a finished game is still in play"};
    }
    const bool counted = !g.demoMode && (g.playPhase || g.reinforcementPhase || g.gameOver);
    if (counted) {
        int held[2] = {0, 0};
        for (const Cell& cell : board.cells) {
            if (cell.occupied != -1) {
                if (cell.owner != PLAYER_WHITE && cell.owner != PLAYER_BLACK) {
                    throw Broken{at(frame) + "a piece of owner " + std::to_string(cell.owner)};
                }
                ++held[cell.owner];
            }
        }
        for (int side = 0; side < 2; ++side) {
            if (g.onBoard[side] != held[side]) {
                throw Broken{at(frame) + "side " + std::to_string(side) + " counts " +
                             std::to_string(g.onBoard[side]) + " pieces and holds " +
                             std::to_string(held[side])};
            }
        }
    }
}

// Feeds the generator's scripts to the game one frame at a time, checking after each.
class Driver {
  public:
    Driver(ScriptGenerator& generator, Report& report, long long limit)
        : generator_(generator), report_(report), limit_(limit) {}

    // A new run of the program: its script starts afresh.
    void newRun() {
        commands_.clear();
        next_ = 0;
        framesPending_ = 0;
        lastFrame_ = 0;
        escapeDown_ = false;
        closeSent_ = false;
        script_.clear();
        previous_ = initialGameState();
    }

    bool operator()() {
        if (hl::frameNumber() > lastFrame_) {
            lastFrame_ = hl::frameNumber();
            frameDone();
        }
        for (;;) {
            if (framesPending_ > 0) {
                --framesPending_;
                hl::addFrames(1);
                if (hl::framesOwed() > 0) {
                    return true;
                }
                framesPending_ = 0;  // inactive: `frame N` does nothing
                continue;
            }
            if (next_ >= commands_.size()) {
                const std::string text = generator_.nextAction(gameState, board);
                script_ += text;
                replay::ScriptError error;
                if (!replay::parseScript(text, commands_, error)) {
                    throw Broken{"the generator wrote a bad script line: " + error.message};
                }
                next_ = 0;
                continue;
            }
            const replay::Command& c = commands_[next_++];
            using replay::CommandKind;
            if (c.kind == CommandKind::EscapeDown || c.kind == CommandKind::EscapeUp) {
                escapeDown_ = c.kind == CommandKind::EscapeDown;
            }
            if (replay::applyInputCommand(c)) {
                continue;
            }
            switch (c.kind) {
                case CommandKind::Frame:
                    framesPending_ = c.a;
                    break;
                case CommandKind::FocusOut:
                    hl::setFocus(false);
                    return true;
                case CommandKind::FocusIn:
                    hl::setFocus(true);
                    return true;
                case CommandKind::Close:
                    closeSent_ = true;
                    hl::closeWindow();
                    return true;
                default:
                    throw Broken{"the generator wrote a command the soak does not play"};
            }
        }
    }

    // The frame that ended the program counts, though it did not finish.
    void countExitFrame() {
        if (hl::frameNumber() > lastFrame_) {
            lastFrame_ = hl::frameNumber();
            ++report_.frames;
        }
    }

    bool escapeDown() const { return escapeDown_; }
    bool closeSent() const { return closeSent_; }
    const std::string& script() const { return script_; }

  private:
    void frameDone() {
        ++report_.frames;
        checkFrame(report_.frames);
        const GameState& g = gameState;
        report_.gamesFinished += g.gameOver && !previous_.gameOver ? 1 : 0;
        report_.reinforcements += g.reinforcementPhase && !previous_.reinforcementPhase ? 1 : 0;
        report_.saves += !g.saveScreenActive && previous_.saveScreenActive ? 1 : 0;
        report_.loads += !g.loadScreenActive && previous_.loadScreenActive ? 1 : 0;
        report_.lessons += g.demoState > previous_.demoState ? 1 : 0;
        previous_ = g;
        if (report_.frames >= limit_) {
            throw Done{};
        }
    }

    ScriptGenerator& generator_;
    Report& report_;
    long long limit_;
    std::vector<replay::Command> commands_;
    std::size_t next_ = 0;
    int framesPending_ = 0;
    int lastFrame_ = 0;
    bool escapeDown_ = false;
    bool closeSent_ = false;
    std::string script_;
    GameState previous_ = initialGameState();
};

// Why the program ended by exitProcess: only the quit button or Escape on the result picture.
void checkProcessExit(const Driver& driver, int code, Report& report) {
    const GameState& g = gameState;
    if (code != 0) {
        throw Broken{"the program ended with code " + std::to_string(code)};
    }
    if (driver.escapeDown() && g.gameOver) {
        ++report.escapeOnResult;
        return;
    }
    const bool onQuit = g.cursorX >= kQuitLeft && g.cursorX < kQuitLeft + 150 &&
                        g.cursorY >= kQuitTop && g.cursorY < kQuitTop + 75;
    if (g.menuVisible && g.leftButton && onQuit) {
        ++report.quitButton;
        return;
    }
    throw Broken{"the program ended by itself at (" + std::to_string(g.cursorX) + ", " +
                 std::to_string(g.cursorY) + ")"};
}

void checkNothingLeft(const char* when) {
    if (plat::liveObjectCount() != 0 || plat::liveBlockCount() != 0) {
        throw Broken{std::string(when) + ": " + std::to_string(plat::liveObjectCount()) +
                     " objects and " + std::to_string(plat::liveBlockCount()) +
                     " memory blocks are left"};
    }
}

// One run of the program, from start-up to its end. False when enough frames have run.
bool playOneRun(Driver& driver, Report& report) {
    hl::install();
    resetProcessState();
    resetTimers();
    resetPlatformSlots();
    driver.newRun();
    hl::setDriver([&driver] { return driver(); });
    hl::setSoundListener([&report](const hl::SoundEvent& event) {
        for (int id = 0; id < 4; ++id) {
            if (soundBuffers[id] != plat::kNoHandle && soundBuffers[id] == event.bufferHandle) {
                ++report.sounds[id];
            }
        }
    });
    ++report.runs;
    bool more = true;
    try {
        const int code = gameMain();
        driver.countExitFrame();
        if (!driver.closeSent() && hl::frameNumber() == 0) {
            throw Broken{"start-up failed"};
        }
        if (!driver.closeSent() || code != 0 || !hl::debugLines().empty()) {
            throw Broken{
                "the program ended with code " + std::to_string(code) +
                (hl::debugLines().empty() ? std::string() : ": " + hl::debugLines().front())};
        }
        ++report.closeCommand;
        checkNothingLeft("after the close command");
    } catch (const hl::ProcessExit& exit) {
        driver.countExitFrame();
        checkProcessExit(driver, exit.code, report);
    } catch (const Done&) {
        more = false;
    }
    // What the system would reclaim from an ended process; nothing may be out of the slots.
    releaseAll();
    hl::setSoundListener(nullptr);
    hl::setDriver(nullptr);
    checkNothingLeft("after releasing everything");
    return more;
}

bool makeWorkingFolder(const std::string& gameDir, fs::path& folder) {
    char pattern[] = "/tmp/gorvendal-soak-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return false;
    }
    folder = pattern;
    std::error_code error;
    const fs::path game = fs::absolute(gameDir, error);
    fs::create_directory_symlink(game / "bitmaps", folder / "bitmaps", error);
    fs::create_directory_symlink(game / "waves", folder / "waves", error);
    fs::create_directory(folder / "sauv", error);
    return !error;
}

}  // namespace

bool run(const Options& options, Report& report) {
    report = Report{};
    fs::path folder;
    if (!makeWorkingFolder(options.gameDir, folder)) {
        report.failure = "cannot make a working folder with the game's files";
        return false;
    }
    const fs::path previous = fs::current_path();
    const fs::path failureScript = fs::absolute(options.failureScript);
    fs::current_path(folder);

    ScriptGenerator generator(options.seed);
    Driver driver(generator, report, options.frames);
    try {
        while (playOneRun(driver, report)) {
        }
    } catch (const Broken& broken) {
        report.failure = broken.what + " (run " + std::to_string(report.runs) + ")";
        std::FILE* file = std::fopen(failureScript.c_str(), "w");
        if (file != nullptr) {
            std::fputs(driver.script().c_str(), file);
            std::fclose(file);
        }
        releaseAll();
        hl::setSoundListener(nullptr);
    }
    fs::current_path(previous);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return report.failure.empty();
}

}  // namespace soak
