// Placeholder until this section is written.
#include "screens/file_screens.h"

void runSaveScreen() {}
void runLoadScreen() {}
