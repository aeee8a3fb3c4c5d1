// The game's four sounds, synthesised: a soft click when a piece is taken in hand, a wooden
// slide when it steps, a thud with a burst of splinters when it captures, and a short brass
// fanfare for the victory. Every sound is built from fixed seeds, so it is the same at every
// run.
#pragma once

#include <vector>

namespace sound {

constexpr int kSampleRate = 44100;

// Mono samples from -1 to 1 at kSampleRate.
struct Wave {
    std::vector<float> samples;
};

Wave makeClick();    // clic.wav, about 40 ms
Wave makeMove();     // depl.wav, about 150 ms
Wave makeAttack();   // att.wav, about 350 ms
Wave makeVictory();  // win.wav, under 2 s

}  // namespace sound
