// Placeholder until this section is written.
#include "display/board_render.h"

void drawBoard() {}
void drawCursor() {}
