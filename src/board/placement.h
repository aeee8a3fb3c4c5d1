// The initial placement and the reinforcements.
#pragma once

void updatePlacement();
