// Placeholder until this section is written.
#include "screens/saved_game.h"

void writeSavedGame(const char*) {}
bool readSavedGame(const char*) { return false; }
