#include "screens/main_menu.h"

#include "board/board.h"
#include "demo/demonstration.h"
#include "display/draw.h"
#include "display/sprites.h"
#include "platform/platform.h"
#include "shell/app.h"

namespace {

constexpr int kButtonLeft = 325;
constexpr int kButtonTop = 50;
constexpr int kButtonWidth = 150;
constexpr int kButtonHeight = 75;
constexpr int kHighlightedFrameOffset = 7;

int buttonTop(int n) {
    return kButtonTop + kButtonHeight * (n - 1);
}

bool underCursor(int n) {
    const int x = gameState.cursorX;
    const int y = gameState.cursorY;
    return x >= kButtonLeft && x < kButtonLeft + kButtonWidth && y >= buttonTop(n) &&
           y < buttonTop(n) + kButtonHeight;
}

void carryOut(int button) {
    switch (button) {
        case MENU_NEW_GAME:
            resetGame();  // also closes the menu
            gameState.placementPhase = 1;
            break;
        case MENU_DEMO:
            startDemonstration();
            break;
        case MENU_SAVE:
            // Only a game in its play phase can be saved.
            if (gameState.playPhase && !gameState.placementPhase && !gameState.demoMode) {
                gameState.menuVisible = 0;
                gameState.saveScreenActive = 1;
            }
            break;
        case MENU_LOAD:
            // Loading needs no game in progress, but not in the middle of a placement.
            if (!gameState.placementPhase && !gameState.demoMode) {
                gameState.loadScreenActive = 1;
                gameState.menuVisible = 0;
            }
            break;
        case MENU_QUIT:
            plat::exitProcess(0);
        case MENU_RESUME:
            gameState.menuVisible = 0;
            break;
        default:
            break;  // MENU_NO_ACTION
    }
}

}  // namespace

void runMainMenu() {
    drawText(700, 585, backBuffer, "Version 0.1", 0xFFFFFF, 0);

    // "Reprendre" is offered only while there is a game to go back to.
    const int shown = (gameState.playPhase || gameState.placementPhase) ? MENU_RESUME : MENU_QUIT;

    // Every shown button is drawn before any action is taken. The left button is a level,
    // not a click: a button acts in every frame in which it is held over it.
    int chosen = MENU_NONE;
    for (int n = MENU_NEW_GAME; n <= shown; ++n) {
        const bool hot = underCursor(n);
        blitSprite(kButtonLeft, buttonTop(n), kButtonWidth, kButtonHeight, kButtonWidth,
                   kButtonHeight, hot ? n + kHighlightedFrameOffset : n, SPRITE_MENU);
        if (hot && gameState.leftButton) {
            chosen = n;
        }
    }
    if (chosen != MENU_NONE) {
        carryOut(chosen);
    }
}
