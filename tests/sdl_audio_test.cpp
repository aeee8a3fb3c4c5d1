// The real back end's sound mixing, on SDL's dummy audio device kept paused so that the test
// itself pulls the samples: conversion of the wave data to the device's format, several sounds at
// once with clamping, a sound asked for again while it plays, looping, dropping, and the silent
// device of a system without sound.
#include "platform/sdl_audio.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace {

using plat::SoundData;
using plat::WaveFormat;
using plat::sdl::Audio;

WaveFormat pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    WaveFormat format;
    format.formatTag = plat::kWaveFormatPcm;
    format.channels = channels;
    format.samplesPerSecond = rate;
    format.bitsPerSample = bits;
    format.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    format.averageBytesPerSecond = rate * format.blockAlign;
    return format;
}

// A 16-bit sound of `frames` frames, every sample `value`, in the device's own rate.
SoundData steady16(const Audio& audio, int frames, std::int16_t value, std::uint16_t channels = 2) {
    SoundData sound;
    sound.format = pcm(channels, static_cast<std::uint32_t>(audio.deviceFormat().freq), 16);
    for (int i = 0; i < frames * channels; ++i) {
        sound.bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        sound.bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    }
    return sound;
}

class SdlAudioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        std::string why;
        ASSERT_TRUE(audio_.open(why));
        ASSERT_FALSE(audio_.silent()) << why;
        audio_.pause(true);
        channels_ = audio_.deviceFormat().channels;
        ASSERT_GT(channels_, 0);
    }
    void TearDown() override { audio_.close(); }

    std::vector<Sint16> pull(int frames) {
        std::vector<Sint16> out(static_cast<std::size_t>(frames * channels_), 12345);
        audio_.mix(out.data(), out.size());
        return out;
    }
    static int countEqual(const std::vector<Sint16>& samples, Sint16 value) {
        int count = 0;
        for (const Sint16 sample : samples) {
            count += sample == value ? 1 : 0;
        }
        return count;
    }

    Audio audio_;
    int channels_ = 0;
};

TEST_F(SdlAudioTest, PlaysASoundOnceThenSilence) {
    audio_.setSound(7, steady16(audio_, 100, 1000, static_cast<std::uint16_t>(channels_)));
    EXPECT_EQ(countEqual(pull(50), 0), 50 * channels_) << "nothing plays before it is asked";
    audio_.play(7, false);
    const std::vector<Sint16> out = pull(300);
    EXPECT_EQ(countEqual(out, 1000), 100 * channels_);
    for (int i = 0; i < 100 * channels_; ++i) {
        ASSERT_EQ(out[static_cast<std::size_t>(i)], 1000) << "sample " << i;
    }
    EXPECT_EQ(countEqual(out, 0), 200 * channels_);
}

TEST_F(SdlAudioTest, ConvertsEightBitMonoToTheDeviceFormat) {
    // Unsigned 8-bit: 0xC0 is half way up, 0x40 half way down; mono goes to every channel.
    SoundData sound;
    sound.format = pcm(1, static_cast<std::uint32_t>(audio_.deviceFormat().freq), 8);
    sound.bytes.assign(64, 0xC0);
    sound.bytes.resize(128, 0x40);
    audio_.setSound(1, sound);
    audio_.play(1, false);
    const std::vector<Sint16> out = pull(256);
    // Up to the converter's rounding: half the full range up, then half of it down.
    for (int i = 0; i < 128 * channels_; ++i) {
        ASSERT_NEAR(out[static_cast<std::size_t>(i)], i < 64 * channels_ ? 16384 : -16384, 2)
            << "sample " << i;
    }
    EXPECT_EQ(countEqual(out, 0), 128 * channels_);
}

TEST_F(SdlAudioTest, ResamplesToTheDeviceRate) {
    SoundData sound;
    sound.format = pcm(1, static_cast<std::uint32_t>(audio_.deviceFormat().freq / 2), 16);
    sound.bytes.assign(2 * 1000, 0x10);  // 1000 frames of 0x1010
    audio_.setSound(2, sound);
    audio_.play(2, false);
    const std::vector<Sint16> out = pull(4000);
    int loudFrames = 0;
    for (int frame = 0; frame < 4000; ++frame) {
        loudFrames += out[static_cast<std::size_t>(frame * channels_)] != 0 ? 1 : 0;
    }
    // Twice as many frames at twice the rate, give or take the converter's edges.
    EXPECT_NEAR(loudFrames, 2000, 40);
}

TEST_F(SdlAudioTest, MixesSeveralSoundsAndClampsTheSum) {
    const auto n = static_cast<std::uint16_t>(channels_);
    audio_.setSound(1, steady16(audio_, 100, 30000, n));
    audio_.setSound(2, steady16(audio_, 50, 30000, n));
    audio_.setSound(3, steady16(audio_, 100, -30000, n));
    audio_.setSound(4, steady16(audio_, 100, -30000, n));
    audio_.play(1, false);
    audio_.play(2, false);
    std::vector<Sint16> out = pull(100);
    EXPECT_EQ(countEqual(out, 32767), 50 * channels_) << "30000 + 30000 is clamped";
    EXPECT_EQ(countEqual(out, 30000), 50 * channels_) << "then the longer one alone";
    audio_.play(3, false);
    audio_.play(4, false);
    out = pull(100);
    EXPECT_EQ(countEqual(out, -32768), 100 * channels_);
}

TEST_F(SdlAudioTest, ASoundAskedForAgainWhilePlayingCarriesOnAndRestartsWhenFinished) {
    // A rising sound in the device's own format, so that the position can be read off the
    // samples.
    SoundData sound;
    sound.format = pcm(static_cast<std::uint16_t>(channels_),
                       static_cast<std::uint32_t>(audio_.deviceFormat().freq), 16);
    for (int i = 1; i <= 100; ++i) {
        for (int channel = 0; channel < channels_; ++channel) {
            sound.bytes.push_back(static_cast<std::uint8_t>(i));
            sound.bytes.push_back(0);
        }
    }
    audio_.setSound(5, sound);
    audio_.play(5, false);
    EXPECT_EQ(pull(40)[static_cast<std::size_t>(39 * channels_)], 40);
    audio_.play(5, false);
    std::vector<Sint16> out = pull(100);
    EXPECT_EQ(out[0], 41) << "carried on where it was";
    EXPECT_EQ(out[static_cast<std::size_t>(59 * channels_)], 100);
    EXPECT_EQ(out[static_cast<std::size_t>(60 * channels_)], 0) << "finished";
    audio_.play(5, false);
    out = pull(10);
    EXPECT_EQ(out[0], 1) << "a finished sound starts from its beginning";
}

TEST_F(SdlAudioTest, ALoopingSoundStartsOverUntilDropped) {
    audio_.setSound(6, steady16(audio_, 30, 500, static_cast<std::uint16_t>(channels_)));
    audio_.play(6, true);
    EXPECT_EQ(countEqual(pull(100), 500), 100 * channels_);
    audio_.drop(6);
    EXPECT_EQ(countEqual(pull(100), 0), 100 * channels_);
    audio_.play(6, false);  // a dropped sound is gone: nothing plays
    EXPECT_EQ(countEqual(pull(10), 0), 10 * channels_);
}

TEST_F(SdlAudioTest, ARaggedEndIsDropped) {
    // Stereo 16-bit with one byte too many: the half frame is not played.
    SoundData sound = steady16(audio_, 10, 700, 2);
    sound.bytes.push_back(0x55);
    audio_.setSound(8, sound);
    audio_.play(8, false);
    const std::vector<Sint16> out = pull(20);
    EXPECT_EQ(countEqual(out, 0), 10 * channels_);
}

TEST(SdlAudioFormats, AcceptsOnlyWhatItCanConvert) {
    struct Case {
        WaveFormat format;
        bool accepted;
    };
    WaveFormat notPcm = pcm(1, 22050, 16);
    notPcm.formatTag = 3;
    const Case cases[] = {
        {pcm(1, 11025, 8), true},   {pcm(2, 44100, 16), true},   {pcm(1, 22050, 16), true},
        {pcm(2, 8000, 8), true},    {pcm(1, 22050, 24), false},  {pcm(1, 22050, 4), false},
        {pcm(3, 22050, 16), false}, {pcm(0, 22050, 16), false},  {pcm(1, 0, 16), false},
        {pcm(1, 999, 16), false},   {pcm(1, 400000, 16), false}, {notPcm, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Audio::acceptsFormat(c.format), c.accepted)
            << c.format.channels << " channels, " << c.format.samplesPerSecond << " Hz, "
            << c.format.bitsPerSample << " bits, tag " << c.format.formatTag;
    }
}

TEST(SdlAudioSilent, WithoutASoundDeviceTheGameStillRuns) {
    SDL_setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    Audio audio;
    std::string why;
    EXPECT_TRUE(audio.open(why));
    EXPECT_TRUE(audio.silent());
    EXPECT_FALSE(why.empty());
    audio.setSound(1, SoundData{pcm(1, 22050, 16), std::vector<std::uint8_t>(100, 1)});
    audio.play(1, false);
    audio.drop(1);
    audio.close();
}

}  // namespace
