#include "board/play.h"

#include <cstdio>

#include "board/board.h"
#include "display/draw.h"
#include "shell/app.h"
#include "sound/sound_effects.h"

// Tried in this order; every row has its own landing square, so at most one applies.
const CapturePattern capturePatterns[CAPTURE_PATTERN_COUNT] = {
    // One enemy, orthogonally, from level 1.
    {1, -2, 0, 1, {-1, 0}, {0, 0}},
    {1, +2, 0, 1, {+1, 0}, {0, 0}},
    {1, 0, +2, 1, {0, 0}, {+1, 0}},
    {1, 0, -2, 1, {0, 0}, {-1, 0}},
    // One enemy, diagonally, from level 2.
    {2, -2, -2, 1, {-1, 0}, {-1, 0}},
    {2, +2, +2, 1, {+1, 0}, {+1, 0}},
    {2, -2, +2, 1, {-1, 0}, {+1, 0}},
    {2, +2, -2, 1, {+1, 0}, {-1, 0}},
    // Two enemies in a row, orthogonally, from level 3.
    {3, -3, 0, 2, {-1, -2}, {0, 0}},
    {3, +3, 0, 2, {+1, +2}, {0, 0}},
    {3, 0, +3, 2, {0, 0}, {+1, +2}},
    {3, 0, -3, 2, {0, 0}, {-1, -2}},
    // Two enemies in a row, diagonally, from level 4.
    {4, -3, -3, 2, {-1, -2}, {-1, -2}},
    {4, +3, +3, 2, {+1, +2}, {+1, +2}},
    {4, -3, +3, 2, {-1, -2}, {+1, +2}},
    {4, +3, -3, 2, {+1, +2}, {-1, -2}},
};

namespace {

int sideToMove() {
    return gameState.currentPlayer != 0 ? PLAYER_BLACK : PLAYER_WHITE;
}

bool isEmpty(const Cell& cell) {
    return cell.occupied == -1;
}

bool holdsEnemy(const Cell& cell, int side) {
    return cell.occupied != -1 && cell.owner != side;
}

// The line at the top of the screen: whose turn it is, how many pieces he has, and what the
// selected piece can still do. It shows the state as the frame found it.
void drawStatusLine(int side) {
    const char* player = side == PLAYER_WHITE ? "joueur1 (blanc)" : "joueur2 (noir)";
    if (gameState.selectionActive) {
        const Cell& selected = cellAt(gameState.selectedX, gameState.selectedY);
        std::snprintf(textBuffer, sizeof textBuffer,
                      "Jouez, %s, il vous reste %d pion(s) [%d mouvement(s)] Pion s\xE9"
                      "lectionn\xE9"
                      " : Niveau%d, Tu\xE9"
                      "s%d",
                      player, gameState.onBoard[side], selected.movesLeft, selected.level,
                      selected.kills);
    } else {
        std::snprintf(textBuffer, sizeof textBuffer, "Jouez, %s, il vous reste %d pion(s)", player,
                      gameState.onBoard[side]);
    }
    drawText(0, 0, backBuffer, textBuffer, 0xFFFFFF, 0);
}

// A click on one of the mover's own pieces selects it. The click sound plays only when the
// square differs from the one last recorded, so a held button does not repeat it.
void selectPiece(Square target) {
    if (gameState.selectionActive) {
        cellAt(gameState.selectedX, gameState.selectedY).highlighted = 0;
        gameState.blinkCounter = gameState.blinkPeriod;
    }
    if (target.x != gameState.selectedX || target.y != gameState.selectedY) {
        playSound(SOUND_CLICK, false);
    }
    gameState.selectionActive = 1;
    gameState.selectedX = target.x;
    gameState.selectedY = target.y;
}

bool isNeighbour(int dx, int dy) {
    return (dx != 0 || dy != 0) && dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
}

// A step to an empty neighbouring square. A piece on its last move ends the turn; it gets its
// refill from endTurn while still on its old square and carries it along.
void stepPiece(Square from, Square to) {
    Cell& source = cellAt(from.x, from.y);
    if (source.movesLeft <= 1) {
        endTurn();
    } else {
        --source.movesLeft;
    }
    cellAt(to.x, to.y) = source;
    removePiece(from.x, from.y);
    playSound(SOUND_MOVE, false);
}

const CapturePattern* applicableCapture(Square from, Square to, int side) {
    const Cell& source = cellAt(from.x, from.y);
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    for (const CapturePattern& pattern : capturePatterns) {
        if (source.level < pattern.level || dx != pattern.landingDx || dy != pattern.landingDy) {
            continue;
        }
        // The squares jumped over lie between the two, so they are on the board as well.
        bool enemiesInBetween = true;
        for (int i = 0; i < pattern.enemyCount; ++i) {
            const Cell& jumped = cellAt(from.x + pattern.enemyDx[i], from.y + pattern.enemyDy[i]);
            enemiesInBetween = enemiesInBetween && holdsEnemy(jumped, side);
        }
        return enemiesInBetween ? &pattern : nullptr;
    }
    return nullptr;
}

// A jump over one or two enemies. The squares left behind keep their old fields, only
// emptied; captures cost no move and do not end the turn.
void capture(const CapturePattern& pattern, Square from, Square to, int side) {
    playSound(SOUND_ATTACK, false);
    Cell& source = cellAt(from.x, from.y);
    Cell& landing = cellAt(to.x, to.y);
    landing = source;
    source.occupied = -1;
    for (int i = 0; i < pattern.enemyCount; ++i) {
        cellAt(from.x + pattern.enemyDx[i], from.y + pattern.enemyDy[i]).occupied = -1;
    }
    const int enemy = side == PLAYER_WHITE ? PLAYER_BLACK : PLAYER_WHITE;
    gameState.onBoard[enemy] -= pattern.enemyCount;
    landing.kills += pattern.enemyCount;
    ++gameState.capturesThisTurn;
}

}  // namespace

void updatePlay() {
    if (!gameState.playPhase || gameState.menuVisible || gameState.saveScreenActive ||
        gameState.loadScreenActive) {
        return;
    }
    const int side = sideToMove();
    drawStatusLine(side);
    if (gameState.leftButton != 1) {
        return;
    }
    // Every frame with the button down is a click on the square under the cursor.
    const Square target = squareUnderCursor();
    if (cellAt(target.x, target.y).owner == side && markPiece(target.x, target.y, side, 1, -1)) {
        selectPiece(target);
    } else if (!gameState.selectionActive) {
        return;
    }
    const Square from{gameState.selectedX, gameState.selectedY};
    const Cell& source = cellAt(from.x, from.y);
    // Moves are made only by a piece of the side to move: the selection may still name the
    // square a piece has just left, and nothing moves from there.
    if (source.occupied == -1 || source.owner != side) {
        return;
    }
    if (!isEmpty(cellAt(target.x, target.y))) {
        return;
    }
    if (isNeighbour(target.x - from.x, target.y - from.y)) {
        stepPiece(from, target);
        return;
    }
    if (const CapturePattern* pattern = applicableCapture(from, target, side)) {
        capture(*pattern, from, target, side);
    }
}

void endTurn() {
    gameState.selectionActive = 0;
    const int justPlayed = sideToMove();
    gameState.currentPlayer = justPlayed == PLAYER_WHITE ? PLAYER_BLACK : PLAYER_WHITE;
    if (gameState.capturesThisTurn >= 2) {
        gameState.playPhase = 0;
        gameState.placementPhase = 1;
        gameState.reinforcementPhase = 1;
        gameState.reserve[justPlayed] = gameState.capturesThisTurn / 2;
    }
    gameState.capturesThisTurn = 0;
    for (Cell& cell : board.cells) {
        if (cell.occupied != -1) {
            cell.movesLeft = cell.movesPerTurn;
        }
    }
}
