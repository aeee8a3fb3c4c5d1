#include "bench_support.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "board/board.h"
#include "platform/headless.h"
#include "shell/app.h"
#include "shell/frame.h"
#include "shell/timers.h"

namespace fs = std::filesystem;

WorkFolder::WorkFolder() {
    std::error_code error;
    previous_ = fs::current_path(error);
    std::string pattern = (fs::temp_directory_path(error) / "gorvendal-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return;
    }
    folder_ = pattern;
    const fs::path gameDir = GORVENDAL_GAME_DIR;
    fs::create_directory_symlink(gameDir / "bitmaps", folder_ / "bitmaps", error);
    fs::create_directory_symlink(gameDir / "waves", folder_ / "waves", error);
    fs::create_directory(folder_ / "sauv", error);
    fs::current_path(folder_, error);
    ready_ = !error && fs::exists(folder_ / "bitmaps" / "grille.bmp");
}

WorkFolder::~WorkFolder() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
    if (!folder_.empty()) {
        fs::remove_all(folder_, ignored);
    }
}

void freshProcess() {
    plat::headless::install();
    plat::headless::setDriver([] { return false; });
    resetToProcessStart();
}

bool startGame() {
    freshProcess();
    if (!initialise()) {
        return false;
    }
    return runFrame(mainWindow);
}

void stopGame() {
    releaseAll();
}

namespace {

void enterPlay() {
    gameState.menuVisible = 0;
    gameState.placementPhase = 0;
    gameState.reinforcementPhase = 0;
    gameState.playPhase = 1;
    gameState.currentPlayer = 0;
    gameState.leftButton = 0;
    gameState.cursorX = 390;
    gameState.cursorY = 290;
}

void select(int x, int y) {
    gameState.selectionActive = 1;
    gameState.selectedX = x;
    gameState.selectedY = y;
    cellAt(x, y).highlighted = 1;
}

}  // namespace

void setUpPlayWithTwentyPieces() {
    clearBoard();
    enterPlay();
    for (int i = 0; i < 10; ++i) {
        placePiece(2 * i, 2 + i % 3, PLAYER_WHITE, i % 8);
        placePiece(2 * i + 1, 10 + i % 4, PLAYER_BLACK, (i + 3) % 8);
    }
    gameState.onBoard[PLAYER_WHITE] = 10;
    gameState.onBoard[PLAYER_BLACK] = 10;
    select(4, 4);
}

void setUpFullBoard(bool menuOver) {
    clearBoard();
    enterPlay();
    for (int c = 0; c < BOARD_COLUMNS; ++c) {
        for (int r = 0; r < BOARD_ROWS; ++r) {
            placePiece(c, r, (c + r) % 2 == 0 ? PLAYER_WHITE : PLAYER_BLACK, (c * 3 + r) % 9);
        }
    }
    gameState.onBoard[PLAYER_WHITE] = BOARD_CELLS / 2;
    gameState.onBoard[PLAYER_BLACK] = BOARD_CELLS / 2;
    select(10, 7);
    gameState.menuVisible = menuOver ? 1 : 0;
}
