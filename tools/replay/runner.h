// The headless runner: checks a script whole, then runs the game through it.
#pragma once

int replayMain(int argc, char** argv);
