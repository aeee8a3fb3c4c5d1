// The four sound effects: loaded whole into their buffers at start-up, start-up failing
// silently when one cannot be loaded, and playing.
#include "sound/sound_effects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/app.h"
#include "test_support.h"
#include "wave_builder.h"

namespace hl = plat::headless;
using namespace wave_builder;

namespace {

class SoundEffectsTest : public HeadlessGame {
  protected:
    // The bytes held by a filled sound buffer, read back through a lock.
    static std::string bufferBytes(plat::Handle buffer, std::uint32_t bytes) {
        std::uint8_t* region = nullptr;
        std::uint32_t regionBytes = 0;
        if (!plat::lockSoundBuffer(buffer, 0, bytes, region, regionBytes)) {
            return "(cannot lock)";
        }
        std::string out(reinterpret_cast<const char*>(region), regionBytes);
        plat::unlockSoundBuffer(buffer, region, regionBytes);
        return out;
    }
};

TEST_F(SoundEffectsTest, EachSoundIsLoadedWholeIntoItsOwnBuffer) {
    writeGameWaves(workDir);
    ASSERT_TRUE(start());
    for (int id = 0; id < 4; ++id) {
        SCOPED_TRACE(id);
        ASSERT_NE(soundBuffers[id], plat::kNoHandle);
        const std::string expected = gameSoundSamples(id);
        EXPECT_EQ(bufferBytes(soundBuffers[id], static_cast<std::uint32_t>(expected.size())),
                  expected);
        std::uint8_t* region = nullptr;
        std::uint32_t regionBytes = 0;
        EXPECT_FALSE(plat::lockSoundBuffer(soundBuffers[id], 0,
                                           static_cast<std::uint32_t>(expected.size()) + 1, region,
                                           regionBytes))
            << "the buffer is exactly the sound's size";
    }
    EXPECT_EQ(plat::liveBlockCount(), 0) << "the wave files' memory is given back";
}

TEST_F(SoundEffectsTest, AMissingOrDamagedWaveFileEndsStartUpSilentlyWithZero) {
    struct Case {
        const char* file;
        std::string replacement;  // empty: the file is missing
    };
    const Case cases[] = {
        {"clic.wav", ""},
        {"depl.wav", ""},
        {"att.wav", ""},
        {"win.wav", ""},
        {"att.wav", std::string("RIFF\x04\0\0\0AVI ", 12)},
        {"win.wav", riff("WAVE", {chunk("fmt ", pcmFormat(1, 11025, 8))})},
        {"clic.wav", riff("WAVE", {chunk("data", samples(50, 0))})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.replacement.empty() ? " missing" : " damaged"));
        hl::install();
        hl::setDriver([] { return false; });
        resetPlatformSlots();
        writeGameWaves(workDir, c.file);
        if (!c.replacement.empty()) {
            writeFile(std::string("waves/") + c.file, c.replacement);
        }
        int exitCode = -1;
        try {
            exitCode = gameMain();
        } catch (const hl::ProcessExit& exit) {
            exitCode = 1000 + exit.code;
        } catch (const hl::RunEnded&) {
            exitCode = 2000;
        }
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(hl::frameNumber(), 0) << "no frame runs";
        EXPECT_TRUE(hl::debugLines().empty()) << "no message";
        EXPECT_EQ(plat::liveBlockCount(), 0);
        releaseAll();
    }
}

TEST_F(SoundEffectsTest, AFailedBufferStepFailsTheLoadAndKeepsTheBuffersMadeSoFar) {
    struct Case {
        plat::Op op;
        int skip;
        int buffersKept;
    };
    const Case cases[] = {
        {plat::Op::CreateSoundBuffer, 0, 0},
        {plat::Op::CreateSoundBuffer, 2, 2},
        {plat::Op::LockSoundBuffer, 3, 4},
        {plat::Op::UnlockSoundBuffer, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.op) << " after " << c.skip);
        hl::install();
        resetPlatformSlots();
        writeGameWaves(workDir);
        soundDevice = plat::createSoundDevice();
        hl::failOperation(c.op, 1, c.skip);
        EXPECT_FALSE(loadSounds());
        int kept = 0;
        for (plat::Handle buffer : soundBuffers) {
            kept += buffer != plat::kNoHandle ? 1 : 0;
        }
        EXPECT_EQ(kept, c.buffersKept);
        EXPECT_EQ(plat::liveBlockCount(), 0);
        releaseAll();
        EXPECT_EQ(plat::liveObjectCount(), 0);
    }
}

TEST_F(SoundEffectsTest, PlayingStartsTheSoundsBufferAndNothingOnceItIsGone) {
    writeGameWaves(workDir);
    ASSERT_TRUE(start());
    playSound(SOUND_ATTACK, false);
    playSound(SOUND_CLICK, false);
    playSound(SOUND_ATTACK, false);
    std::vector<int> played;
    for (const auto& [id, frame] : sounds()) {
        played.push_back(id);
    }
    EXPECT_EQ(played, (std::vector<int>{SOUND_ATTACK, SOUND_CLICK, SOUND_ATTACK}));
    ASSERT_EQ(hl::soundLog().size(), 3u);
    releaseAll();
    playSound(SOUND_WIN, false);
    EXPECT_EQ(hl::soundLog().size(), 3u);
}

}  // namespace
