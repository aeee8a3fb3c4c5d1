// gorvendal-replay SCRIPT: the game run headless from a script of input.
#include "replay/runner.h"

int main(int argc, char** argv) {
    return replayMain(argc, argv);
}
