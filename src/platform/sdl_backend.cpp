#include "platform/headless.h"
void plat::selectSdlBackend() { headless::install(); }  // Placeholder until the SDL back end lands.
