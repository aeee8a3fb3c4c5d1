// The save and load screens. The user builds a name of five letters from A to E: a click on a
// letter picks it, a click on OK appends it. Once the name is complete, a click on any letter
// confirms it: the game is written or read under that name and the screen closes.
//
// The mouse button is a held state, not a press, so OK acts once and then waits behind the
// click latch until a letter is clicked again. The name is kept for the whole run: a screen
// opened later with a complete name and a clear latch writes or reads at once, in every frame,
// until OK is clicked (which sets the latch) or a letter is clicked (which closes the screen).
#include "screens/file_screens.h"

#include <cstdio>

#include "board/board.h"
#include "display/draw.h"
#include "display/sprites.h"
#include "screens/saved_game.h"
#include "shell/app.h"

namespace {

constexpr int kNameLength = 5;
constexpr int kLettersLeft = 350;
constexpr int kLettersTop = 400;
constexpr int kLetterWidth = 20;
constexpr int kLetterHeight = 20;
constexpr int kOkLeft = 360;
constexpr int kOkTop = 430;
constexpr int kOkWidth = 80;
constexpr int kOkHeight = 40;
constexpr std::uint32_t kTextColour = 0xFF;  // red
constexpr std::uint32_t kTextBackground = 0;

enum class Screen { Save, Load };

// The letter box under the cursor (0 for A to 4 for E), or -1.
int letterUnderCursor() {
    const int x = gameState.cursorX;
    const int y = gameState.cursorY;
    if (y < kLettersTop || y >= kLettersTop + kLetterHeight || x < kLettersLeft ||
        x >= kLettersLeft + kNameLength * kLetterWidth) {
        return -1;
    }
    return (x - kLettersLeft) / kLetterWidth;
}

bool okUnderCursor() {
    const int x = gameState.cursorX;
    const int y = gameState.cursorY;
    return x >= kOkLeft && x < kOkLeft + kOkWidth && y >= kOkTop && y < kOkTop + kOkHeight;
}

void closeScreen(Screen screen) {
    if (screen == Screen::Save) {
        gameState.saveScreenActive = 0;
    } else {
        gameState.loadScreenActive = 0;
        gameState.cursorUserControlled = 1;
    }
    gameState.menuVisible = 1;
}

void draw(Screen screen) {
    GameState& g = gameState;
    blitSprite(0, 0, 800, 600, 800, 600, screen == Screen::Save ? 3 : 4, SPRITE_SCREENS);
    blitSprite(kLettersLeft, kLettersTop, kNameLength * kLetterWidth, kLetterHeight,
               kNameLength * kLetterWidth, kLetterHeight, 1, SPRITE_LETTERS);
    blitSprite(kOkLeft, kOkTop, kOkWidth, kOkHeight, kOkWidth, kOkHeight, 1, SPRITE_OK);

    std::snprintf(textBuffer, sizeof textBuffer, "Nom de fichier : %s", g.fileName);
    drawText(200, 300, backBuffer, textBuffer, kTextColour, kTextBackground);
    // Before the first letter is picked the current letter is NUL, which ends the text.
    std::snprintf(textBuffer, sizeof textBuffer, "Lettre actuelle : %c", g.currentLetter);
    drawText(200, 315, backBuffer, textBuffer, kTextColour, kTextBackground);
    if (g.fileNameLength == kNameLength) {
        drawText(200, 330, backBuffer,
                 screen == Screen::Save ? "Cliquez une lettre pour sauvegarder"
                                        : "Cliquez une lettre pour charger",
                 kTextColour, kTextBackground);
    }
}

void takeClick(Screen screen) {
    GameState& g = gameState;
    const int letter = letterUnderCursor();
    if (letter >= 0) {
        g.currentLetter = static_cast<char>('A' + letter);
        g.clickLatch = 0;
        if (g.fileNameLength == kNameLength) {
            closeScreen(screen);
        }
    } else if (!g.clickLatch && okUnderCursor()) {
        if (g.fileNameLength < kNameLength) {
            g.fileName[g.fileNameLength] = g.currentLetter;
            ++g.fileNameLength;
        }
        g.clickLatch = 1;
    }
}

void runScreen(Screen screen) {
    GameState& g = gameState;
    draw(screen);
    if (g.leftButton) {
        takeClick(screen);
    }
    if (g.fileNameLength == kNameLength && !g.clickLatch) {
        if (screen == Screen::Save) {
            writeSavedGame(g.fileName);
        } else if (!readSavedGame(g.fileName)) {
            closeScreen(screen);
        }
    }
}

}  // namespace

void runSaveScreen() {
    runScreen(Screen::Save);
}

void runLoadScreen() {
    runScreen(Screen::Load);
}
