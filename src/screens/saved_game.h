// The saved-game file: "sauv\NAME.SAV".
#pragma once

void writeSavedGame(const char* name);
bool readSavedGame(const char* name);
