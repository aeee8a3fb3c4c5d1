// Field-by-field comparison of cells and boards (a cell's padding bytes carry nothing).
#pragma once

#include <ostream>

#include "board/board.h"

inline bool sameCell(const Cell& a, const Cell& b) {
    return a.owner == b.owner && a.pieceId == b.pieceId && a.occupied == b.occupied &&
           a.kills == b.kills && a.level == b.level && a.movesLeft == b.movesLeft &&
           a.movesPerTurn == b.movesPerTurn && a.highlighted == b.highlighted;
}

// The first square where two boards differ, or (-1, -1).
inline Square firstDifference(const Board& a, const Board& b) {
    for (int x = 0; x < BOARD_COLUMNS; ++x) {
        for (int y = 0; y < BOARD_ROWS; ++y) {
            if (!sameCell(a.cells[x * BOARD_ROWS + y], b.cells[x * BOARD_ROWS + y])) {
                return Square{x, y};
            }
        }
    }
    return Square{-1, -1};
}

inline bool operator==(const Square& a, const Square& b) {
    return a.x == b.x && a.y == b.y;
}

inline std::ostream& operator<<(std::ostream& out, const Square& s) {
    return out << "(" << s.x << ", " << s.y << ")";
}

inline constexpr Square kNoSquare{-1, -1};
