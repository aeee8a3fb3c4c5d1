// The entry point of the real game: the SDL back end, then the game's own start-up and loop.
#include "platform/platform.h"
#include "shell/app.h"

int main() {
    plat::selectSdlBackend();
    return gameMain();
}
