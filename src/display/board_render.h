// The board, its pieces with their levels, the blinking selection and the cursor.
#pragma once

void drawBoard();
void drawCursor();
