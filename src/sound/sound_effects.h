// The four sound effects, loaded at start-up into static sound buffers.
#pragma once

enum SoundId : int { SOUND_CLICK = 0, SOUND_MOVE = 1, SOUND_ATTACK = 2, SOUND_WIN = 3 };

bool loadSounds();
void playSound(SoundId id, bool loop);
