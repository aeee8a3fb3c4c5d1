#include "board/board.h"

#include <cstring>

GameState initialGameState() {
    GameState s{};
    s.cursorX = 390;
    s.cursorY = 290;
    s.cursorUserControlled = 1;
    s.piecesPerPlayer = 10;
    s.blinkPeriod = 25;
    s.blinkCounter = 25;
    s.reserve[PLAYER_WHITE] = s.reserve[PLAYER_BLACK] = 10;
    s.onBoard[PLAYER_WHITE] = s.onBoard[PLAYER_BLACK] = 10;
    s.menuVisible = 1;
    s.demoOkPromptVisible = 1;
    s.demoTargetX = -1;
    s.demoTargetY = -1;
    return s;
}

GameState gameState = initialGameState();
Board board;
char textBuffer[TEXT_BUFFER_SIZE];

void resetProcessState() {
    gameState = initialGameState();
    board = Board{};
    std::memset(textBuffer, 0, sizeof textBuffer);
}

Cell& cellAt(int x, int y) {
    return board.cells[x * BOARD_ROWS + y];
}

Square squareUnderCursor() {
    return Square{gameState.cursorX / SQUARE_SIZE, gameState.cursorY / SQUARE_SIZE};
}

bool placePiece(int x, int y, int owner, int kills) {
    Cell& cell = cellAt(x, y);
    if (cell.occupied != -1) {
        return false;
    }
    cell.owner = owner;
    cell.pieceId = gameState.pieceCount;
    cell.occupied = 1;
    cell.kills = kills;
    cell.level = 0;
    cell.movesLeft = 1;
    // A new piece starts with one move per turn, whatever stood on the square before.
    cell.movesPerTurn = 1;
    cell.highlighted = 0;
    ++gameState.pieceCount;
    return true;
}

bool removePiece(int x, int y) {
    Cell& cell = cellAt(x, y);
    if (cell.occupied == -1) {
        return false;
    }
    cell.owner = -1;
    cell.pieceId = -1;
    cell.occupied = -1;
    cell.kills = 0;
    cell.level = 0;
    cell.movesLeft = 1;
    cell.highlighted = 0;
    --gameState.pieceCount;
    return true;
}

bool markPiece(int x, int y, int owner, std::uint8_t highlight, int kills) {
    Cell& cell = cellAt(x, y);
    if (cell.occupied == -1) {
        return false;
    }
    if (owner != -1) {
        cell.owner = owner;
    }
    cell.highlighted = highlight;
    if (kills != -1) {
        cell.kills = kills;
    }
    return true;
}

void clearBoard() {
    for (Cell& cell : board.cells) {
        cell.occupied = -1;
        cell.movesLeft = 1;
        cell.movesPerTurn = 1;
    }
}

void resetGame() {
    gameState.reserve[PLAYER_WHITE] = gameState.piecesPerPlayer;
    gameState.reserve[PLAYER_BLACK] = gameState.piecesPerPlayer;
    gameState.onBoard[PLAYER_WHITE] = gameState.piecesPerPlayer;
    gameState.onBoard[PLAYER_BLACK] = gameState.piecesPerPlayer;
    gameState.menuVisible = 0;
    gameState.currentPlayer = PLAYER_WHITE;
    gameState.playPhase = 0;
    gameState.gameOver = 0;
    gameState.demoMode = 0;
    gameState.selectionActive = 0;
    gameState.pieceCount = 0;
    gameState.capturesThisTurn = 0;
    gameState.victorySoundPlayed = 0;
    gameState.reinforcementPhase = 0;
    gameState.saveScreenActive = 0;
    gameState.placementPhase = 0;
    clearBoard();
    gameState.demoState = 0;
    gameState.demoStep = 0;
    gameState.demoOkPromptVisible = 1;
    gameState.clickLatch = 0;
    gameState.demoTargetX = -1;
    gameState.demoTargetY = -1;
}

void updateCellLevel(Cell& cell) {
    // Each test overwrites the one before: 0-2 kills level 1, 3-4 level 2, 5-6 level 3 with two
    // moves per turn, 7 and more level 4 with three. Negative kills change nothing.
    if (cell.kills >= 0) {
        cell.level = 1;
    }
    if (cell.kills >= 3) {
        cell.level = 2;
    }
    if (cell.kills >= 5) {
        cell.level = 3;
        cell.movesPerTurn = 2;
    }
    if (cell.kills >= 7) {
        cell.level = 4;
        cell.movesPerTurn = 3;
    }
}

void updateLevels() {
    for (Cell& cell : board.cells) {
        if (cell.occupied != -1) {
            updateCellLevel(cell);
        }
    }
}
