// The play phase: the status line, selection, steps, captures and the turn change.
#pragma once

struct CapturePattern {
    int level;          // the moving piece's level must be at least this
    int landingDx;      // landing square, from the selected square
    int landingDy;
    int enemyCount;     // 1 or 2 squares that must hold enemies
    int enemyDx[2];
    int enemyDy[2];
};
inline constexpr int CAPTURE_PATTERN_COUNT = 16;
extern const CapturePattern capturePatterns[CAPTURE_PATTERN_COUNT];

void updatePlay();
void endTurn();
