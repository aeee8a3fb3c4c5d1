// One frame of the game: the fixed sequence of gated sections.
#pragma once

#include "platform/platform.h"

bool runFrame(plat::Handle window);
// The one-time work of the first frame.
void firstFrameInitialisation();
