// Placeholder until this section is written.
#include "screens/options.h"

void readOptionsFile() {}
