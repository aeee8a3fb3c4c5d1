#include "shell/frame.h"

#include "board/board.h"
#include "board/end_of_game.h"
#include "board/placement.h"
#include "board/play.h"
#include "demo/demonstration.h"
#include "display/board_render.h"
#include "display/draw.h"
#include "display/sprites.h"
#include "input/input.h"
#include "screens/file_screens.h"
#include "screens/main_menu.h"
#include "screens/options.h"
#include "shell/timers.h"

void firstFrameInitialisation() {
    gameState.firstFrameDone = 1;
    clearBoard();
    readOptionsFile();
    setTimer(TIMER_GAME_END, 100);
    setTimer(TIMER_DEMO_A, 100);
}

bool runFrame(plat::Handle window) {
    clearBackBuffer();
    pollMouse();
    pollKeyboard();
    if (!gameState.firstFrameDone) {
        firstFrameInitialisation();
    }
    if (!gameState.gameOver) {
        drawBoard();
    }
    if (gameState.placementPhase && !gameState.menuVisible) {
        updatePlacement();
    }
    if (gameState.playPhase && !gameState.saveScreenActive && !gameState.loadScreenActive &&
        !gameState.menuVisible) {
        updatePlay();
    }
    checkEndOfGame();
    if (gameState.menuVisible) {
        runMainMenu();
    }
    if (gameState.demoMode) {
        updateDemonstration();
    }
    if (gameState.saveScreenActive) {
        runSaveScreen();
    }
    if (gameState.loadScreenActive) {
        runLoadScreen();
    }
    if (!gameState.gameOver && gameState.cursorUserControlled) {
        drawCursor();
    }
    tickTimers();
    return presentFrame(window);
}
