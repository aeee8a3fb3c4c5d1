// Placeholder until this section is written.
#include "sound/sound_effects.h"

bool loadSounds() { return true; }
void playSound(SoundId, bool) {}
