// Placeholder until this section is written.
#include "input/input.h"

void setUpInputDevices() {}
void pollMouse() {}
void pollKeyboard() {}
