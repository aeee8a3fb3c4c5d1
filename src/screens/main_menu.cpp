// Placeholder until this section is written.
#include "screens/main_menu.h"

void runMainMenu() {}
