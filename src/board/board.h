// The board of 20 x 15 squares, its cells, the two sides, the one global game state, and the
// board operations that the rules, the menu and the demonstration use.
#pragma once

#include <cstdint>

inline constexpr int BOARD_COLUMNS = 20;
inline constexpr int BOARD_ROWS = 15;
inline constexpr int SQUARE_SIZE = 40;
inline constexpr int BOARD_CELLS = BOARD_COLUMNS * BOARD_ROWS;

enum PlayerSide : int { PLAYER_WHITE = 0, PLAYER_BLACK = 1 };

struct Cell {
    std::int32_t owner;
    std::int32_t pieceId;
    std::int32_t occupied;  // 1 while a piece stands here, -1 when the square is empty
    std::int32_t kills;
    std::int32_t level;
    std::int32_t movesLeft;
    std::int32_t movesPerTurn;
    std::uint8_t highlighted;
};

// Column-major: square (x, y) is cells[x * BOARD_ROWS + y].
struct Board {
    Cell cells[BOARD_CELLS];
};

struct GameState {
    std::int32_t cursorX;
    std::int32_t cursorY;
    std::int32_t leftButton;
    std::int32_t rightButton;
    std::uint8_t cursorUserControlled;
    std::int32_t piecesPerPlayer;
    std::int32_t blinkPeriod;
    std::int32_t blinkCounter;
    std::uint8_t blinkHidden;
    std::uint8_t selectionActive;
    std::int32_t selectedX;
    std::int32_t selectedY;
    std::uint8_t currentPlayer;
    std::uint8_t placementPhase;
    std::uint8_t reinforcementPhase;
    std::uint8_t playPhase;
    std::uint8_t gameOver;
    std::uint8_t victorySoundPlayed;
    std::int32_t reserve[2];
    std::int32_t onBoard[2];
    std::int32_t capturesThisTurn;
    std::int32_t pieceCount;
    std::uint8_t firstFrameDone;
    std::uint8_t menuVisible;
    std::uint8_t saveScreenActive;
    std::uint8_t loadScreenActive;
    char fileName[6];
    std::int32_t fileNameLength;
    char currentLetter;
    std::uint8_t clickLatch;
    std::uint8_t demoMode;
    std::uint8_t demoOkPromptVisible;
    std::int32_t demoState;
    std::int32_t demoStep;
    std::int32_t demoTargetX;
    std::int32_t demoTargetY;
    std::int32_t demoReturnX;
    std::int32_t demoReturnY;
    std::uint8_t demoStepArmed;
    std::uint8_t demoClickDone;
};

// The values the process starts with.
GameState initialGameState();

extern GameState gameState;
extern Board board;
// The shared text buffer: the status line, the saved-game path, the options file's words.
inline constexpr int TEXT_BUFFER_SIZE = 256;
extern char textBuffer[TEXT_BUFFER_SIZE];

// Puts the board, the game state and the text buffer back to their start-of-process values
// (all cells zero). For tests and the runner; the game itself never calls it.
void resetProcessState();

Cell& cellAt(int x, int y);

struct Square {
    int x;
    int y;
};
Square squareUnderCursor();

bool placePiece(int x, int y, int owner, int kills);
bool removePiece(int x, int y);
bool markPiece(int x, int y, int owner, std::uint8_t highlight, int kills);
void clearBoard();
void resetGame();
void updateLevels();
// The level rule for one cell, as updateLevels and the board drawing apply it.
void updateCellLevel(Cell& cell);
