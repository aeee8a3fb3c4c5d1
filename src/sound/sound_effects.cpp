#include "sound/sound_effects.h"

#include "shell/app.h"
#include "sound/wave_image.h"

namespace {

// In SoundId order.
const char* const kWaveFiles[4] = {
    "waves\\clic.wav",
    "waves\\depl.wav",
    "waves\\att.wav",
    "waves\\win.wav",
};

// Creates the sound buffer of one sound and fills it with the image's samples. A missing or
// unreadable file has a data size of 0, for which no buffer can be made.
bool fillSoundBuffer(int id, WaveImage& image) {
    const std::uint32_t bytes = image.dataSize();
    plat::WaveFormat format;
    image.readFormat(format);
    soundBuffers[id] = plat::createSoundBuffer(soundDevice, format, bytes);
    if (soundBuffers[id] == plat::kNoHandle) {
        return false;
    }
    std::uint8_t* region = nullptr;
    std::uint32_t regionBytes = 0;
    if (!plat::lockSoundBuffer(soundBuffers[id], 0, bytes, region, regionBytes)) {
        return false;
    }
    std::uint32_t written = 0;
    if (region != nullptr) {
        std::uint8_t* destination = region;
        written = image.readData(&destination, regionBytes);
    }
    return plat::unlockSoundBuffer(soundBuffers[id], region, written);
}

}  // namespace

bool loadSounds() {
    // The images give their memory back when they go out of scope, on success or failure.
    // Buffers made before a failure stay in their slots for releaseAll.
    WaveImage images[4];
    for (int id = 0; id < 4; ++id) {
        images[id].loadFile(kWaveFiles[id]);
    }
    for (int id = 0; id < 4; ++id) {
        if (!fillSoundBuffer(id, images[id])) {
            return false;
        }
    }
    return true;
}

void playSound(SoundId id, bool loop) {
    if (id < SOUND_CLICK || id > SOUND_WIN) {
        return;
    }
    // After a fatal error the buffers are gone and nothing plays.
    if (soundBuffers[id] == plat::kNoHandle) {
        return;
    }
    plat::playSoundBuffer(soundBuffers[id], loop);
}
