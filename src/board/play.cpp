// Placeholder until this section is written.
#include "board/play.h"

const CapturePattern capturePatterns[CAPTURE_PATTERN_COUNT] = {};
void updatePlay() {}
void endTurn() {}
