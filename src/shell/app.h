// The program's life: start-up, the window, the message loop, shutdown and fatal errors, and
// the global slots of the platform objects.
#pragma once

#include "platform/platform.h"

extern plat::Handle mainWindow;
extern plat::Handle inputObject;
extern plat::Handle mouseDevice;
extern plat::Handle keyboardDevice;
extern plat::Handle displayObject;
extern plat::Handle primarySurface;
extern plat::Handle backBuffer;
extern plat::Handle sheets[8];  // sheets[1] to sheets[7]; sheets[0] unused
extern plat::Handle soundDevice;
extern plat::Handle soundBuffers[4];
extern bool appActive;

// The entry point's body: start-up, then the message loop. Returns the exit code.
int gameMain();
// The message loop alone: messages first, otherwise a frame while active, otherwise a wait.
// Returns the quit message's exit code.
int runMessageLoop();
bool initialise();
void windowProcedure(plat::Handle window, const plat::Message& message);
void releaseAll();
bool fatalError(plat::Handle window, const char* message);
// Empties every slot and clears appActive (a new run of the game in tests and the runner).
void resetPlatformSlots();
// The game state, the board, the timers and the platform slots as the process starts: a new run
// of the game in the same process (tests, the runner, benchmarks).
void resetToProcessStart();
