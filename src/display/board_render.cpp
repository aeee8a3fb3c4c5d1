#include "display/board_render.h"

#include <cstdint>

#include "board/board.h"
#include "display/draw.h"
#include "display/sprites.h"
#include "shell/app.h"

namespace {

constexpr int kScreenWidth = BOARD_COLUMNS * SQUARE_SIZE;
constexpr int kScreenHeight = BOARD_ROWS * SQUARE_SIZE;
constexpr int kGridFrameSize = 20;
constexpr int kGridLineWidth = 2;
constexpr int kPieceSize = 38;
constexpr int kCursorSize = 20;
constexpr std::uint32_t kLevelColour = 0xFF;          // red
constexpr std::uint32_t kLevelBackground = 0x7F7F7F;  // grey

// One phase of the selected piece's blink lasts blinkPeriod + 1 frames. A negative period
// never brings the counter back to 0, so the blink stays in the phase it has reached.
void blinkStep() {
    if (gameState.blinkCounter == 0) {
        gameState.blinkHidden = gameState.blinkHidden ? 0 : 1;
        gameState.blinkCounter = gameState.blinkPeriod;
    } else {
        --gameState.blinkCounter;
    }
}

// The piece on square (c, r) with its level number in a grey box over its middle; a white
// piece's number sits one pixel further right than any other's.
void drawPiece(int c, int r, const Cell& cell) {
    const int x = SQUARE_SIZE * c;
    const int y = SQUARE_SIZE * r;
    blitSprite(x + 2, y + 2, kPieceSize, kPieceSize, kPieceSize, kPieceSize, cell.owner + 1,
               SPRITE_PAWN);
    const int numberX = cell.owner == PLAYER_WHITE ? x + 17 : x + 16;
    drawNumber(cell.level, numberX, y + 13, backBuffer, "", "", kLevelColour, kLevelBackground,
               false);
}

}  // namespace

void drawBoard() {
    // The background, then the grid lines on the first two pixels of every column and row
    // from the second on: none along the top or left edge.
    blitSprite(0, 0, kScreenWidth, kScreenHeight, kGridFrameSize, kGridFrameSize, 2, SPRITE_GRID);
    for (int c = 1; c < BOARD_COLUMNS; ++c) {
        blitSprite(SQUARE_SIZE * c, 0, kGridLineWidth, kScreenHeight, kGridFrameSize,
                   kGridFrameSize, 1, SPRITE_GRID);
    }
    for (int r = 1; r < BOARD_ROWS; ++r) {
        blitSprite(0, SQUARE_SIZE * r, kScreenWidth, kGridLineWidth, kGridFrameSize, kGridFrameSize,
                   1, SPRITE_GRID);
    }

    for (int c = 0; c < BOARD_COLUMNS; ++c) {
        for (int r = 0; r < BOARD_ROWS; ++r) {
            Cell& cell = cellAt(c, r);
            const bool occupied = cell.occupied != -1;
            // The level is brought up to date just before the piece is drawn, so the number
            // on it is always the one just computed.
            if (occupied) {
                updateCellLevel(cell);
            }
            if (gameState.selectionActive && c == gameState.selectedX && r == gameState.selectedY) {
                // The blink advances when the loop reaches the selected square, whether or not
                // a piece stands there.
                blinkStep();
                if (!gameState.blinkHidden && occupied) {
                    drawPiece(c, r, cell);
                }
            } else if (occupied) {
                drawPiece(c, r, cell);
            }
        }
    }
}

void drawCursor() {
    // During a demonstration lesson the demonstration draws its own cursor.
    if (gameState.gameOver || !gameState.cursorUserControlled) {
        return;
    }
    if (gameState.placementPhase && !gameState.menuVisible) {
        // The piece of the side that places now, shrunk: during a reinforcement that is the
        // side that has just moved, not the one whose turn comes next.
        const bool whiteToPlay = gameState.currentPlayer == 0;
        const bool whitePlaces = gameState.reinforcementPhase ? !whiteToPlay : whiteToPlay;
        blitSprite(gameState.cursorX, gameState.cursorY, kCursorSize, kCursorSize, kPieceSize,
                   kPieceSize, whitePlaces ? 1 : 2, SPRITE_PAWN);
        return;
    }
    blitSprite(gameState.cursorX, gameState.cursorY, kCursorSize, kCursorSize, kCursorSize,
               kCursorSize, 1, SPRITE_CURSOR);
}
