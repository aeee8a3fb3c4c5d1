// Placeholder until the runner is written.
#include "replay/runner.h"

int replayMain(int, char**) {
    return 2;
}
