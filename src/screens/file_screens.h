// The save and load screens, where a five-letter name is built from A to E.
#pragma once

void runSaveScreen();
void runLoadScreen();
