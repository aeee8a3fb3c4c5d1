#include "board/placement.h"

#include <cstdio>

#include "board/board.h"
#include "display/draw.h"
#include "shell/app.h"

namespace {

// The prompt of the side that places, with the pieces it still has to put down.
void drawPlacementPrompt(int side, bool reinforcement, int remaining) {
    const char* player = side == PLAYER_WHITE ? "Joueur1 (blanc)" : "Joueur2 (noir)";
    const char* verb = reinforcement ? "ajoutez" : "placez";
    std::snprintf(textBuffer, sizeof textBuffer, "%s, %s un pion (il vous en reste %d)", player,
                  verb, remaining);
    drawText(0, 0, backBuffer, textBuffer, 0xFFFFFF, 0);
}

int otherSide(int side) {
    return side == PLAYER_WHITE ? PLAYER_BLACK : PLAYER_WHITE;
}

// Both sides put their pieces down in turn, white first; play opens when both reserves are
// spent, which happens with black's last piece.
void updateInitialPlacement() {
    const int placing = gameState.currentPlayer != 0 ? PLAYER_BLACK : PLAYER_WHITE;
    const Square target = squareUnderCursor();
    if (gameState.leftButton == 1 && placePiece(target.x, target.y, placing, 0)) {
        --gameState.reserve[placing];
        const int next = otherSide(placing);
        gameState.currentPlayer = static_cast<std::uint8_t>(next);
        drawPlacementPrompt(next, false, gameState.reserve[next]);
    } else {
        drawPlacementPrompt(placing, false, gameState.reserve[placing]);
    }
    if (gameState.reserve[PLAYER_WHITE] == 0 && gameState.reserve[PLAYER_BLACK] == 0) {
        gameState.placementPhase = 0;
        gameState.playPhase = 1;
        gameState.currentPlayer = PLAYER_WHITE;
        gameState.onBoard[PLAYER_WHITE] = gameState.piecesPerPlayer;
        gameState.onBoard[PLAYER_BLACK] = gameState.piecesPerPlayer;
    }
}

// The side that has just ended a turn with two or more captures puts down its new pieces;
// currentPlayer already names its opponent, who moves when they are all down.
void updateReinforcement() {
    const int placing = gameState.currentPlayer != 0 ? PLAYER_WHITE : PLAYER_BLACK;
    if (gameState.reserve[placing] > 0) {
        const Square target = squareUnderCursor();
        if (gameState.leftButton == 1 && placePiece(target.x, target.y, placing, 0)) {
            --gameState.reserve[placing];
            ++gameState.onBoard[placing];
        }
        drawPlacementPrompt(placing, true, gameState.reserve[placing]);
    }
    if (gameState.reserve[placing] == 0) {
        gameState.placementPhase = 0;
        gameState.playPhase = 1;
        gameState.reinforcementPhase = 0;
    }
}

}  // namespace

void updatePlacement() {
    if (gameState.reinforcementPhase) {
        updateReinforcement();
    } else {
        updateInitialPlacement();
    }
}
