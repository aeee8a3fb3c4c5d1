// Placeholder until this section is written.
#include "board/placement.h"

void updatePlacement() {}
