#include "test_support.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "board/board.h"
#include "shell/app.h"
#include "shell/timers.h"

namespace fs = std::filesystem;

void HeadlessGame::SetUp() {
    previousDir = fs::current_path();
    char pattern[] = "/tmp/gorvendal-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    workDir = pattern;
    const fs::path gameDir = GORVENDAL_GAME_DIR;
    fs::create_directory_symlink(gameDir / "bitmaps", workDir / "bitmaps");
    fs::create_directory_symlink(gameDir / "waves", workDir / "waves");
    fs::create_directory(workDir / "sauv");
    fs::current_path(workDir);
    restartProcess();
}

void HeadlessGame::restartProcess() {
    plat::headless::install();
    plat::headless::setDriver([] { return false; });
    resetToProcessStart();
}

void HeadlessGame::TearDown() {
    releaseAll();
    fs::current_path(previousDir);
    std::error_code ignored;
    fs::remove_all(workDir, ignored);
}

bool HeadlessGame::start() {
    return initialise();
}

int HeadlessGame::runFrames(int frames) {
    plat::headless::addFrames(frames);
    try {
        return runMessageLoop();
    } catch (const plat::headless::RunEnded&) {
        return -1;
    } catch (const plat::headless::ProcessExit& exit) {
        return exit.code;
    }
}

void HeadlessGame::moveMouse(int dx, int dy) {
    if (dx != 0) {
        plat::headless::addMouseRecord(plat::kMouseOffsetX, dx);
    }
    if (dy != 0) {
        plat::headless::addMouseRecord(plat::kMouseOffsetY, dy);
    }
}

void HeadlessGame::pressLeft() {
    plat::headless::addMouseRecord(plat::kMouseOffsetButton0, 0x80);
}

void HeadlessGame::releaseLeft() {
    plat::headless::addMouseRecord(plat::kMouseOffsetButton0, 0);
}

void HeadlessGame::moveCursorTo(int x, int y) {
    moveMouse(x - gameState.cursorX, y - gameState.cursorY);
}

void HeadlessGame::clickAt(int x, int y) {
    moveCursorTo(x, y);
    pressLeft();
    runFrames(1);
    releaseLeft();
    runFrames(1);
}

std::vector<std::pair<int, int>> HeadlessGame::sounds() const {
    std::vector<std::pair<int, int>> out;
    for (const auto& event : plat::headless::soundLog()) {
        for (int id = 0; id < 4; ++id) {
            if (soundBuffers[id] == event.bufferHandle) {
                out.emplace_back(id, event.frame);
            }
        }
    }
    return out;
}

void HeadlessGame::writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(workDir / path, std::ios::binary);
    out << contents;
}

std::string HeadlessGame::readFile(const std::string& path) const {
    std::ifstream in(workDir / path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
