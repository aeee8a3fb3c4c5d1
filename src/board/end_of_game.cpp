// Placeholder until this section is written.
#include "board/end_of_game.h"

void checkEndOfGame() {}
