// The guided demonstration: a scripted position and four lessons played by the program.
#pragma once

void startDemonstration();
void updateDemonstration();
