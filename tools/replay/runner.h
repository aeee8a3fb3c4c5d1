// The headless runner: checks a script whole, then runs the game through it.
#pragma once

#include <cstdio>
#include <vector>

#include "replay/script.h"

// The whole program: gorvendal-replay SCRIPT. Returns the process's exit status.
int replayMain(int argc, char** argv);

namespace replay {

// Runs the game's own start-up, message loop and frames through the headless back end, fed by
// the commands. Event lines go to `out`, debugger lines to `err`. Returns the runner's exit
// status: 0, or 1 when a dump or a shot could not be written.
// Carries out a command that gives input (mouse records, the Escape key) through the headless
// back end. False, doing nothing, for any other command.
bool applyInputCommand(const Command& command);

int runScript(const std::vector<Command>& commands, std::FILE* out, std::FILE* err);

}  // namespace replay
