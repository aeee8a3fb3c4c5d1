// Placeholder until this section is written.
#include "demo/demonstration.h"

void startDemonstration() {}
void updateDemonstration() {}
