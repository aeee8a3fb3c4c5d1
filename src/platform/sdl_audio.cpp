#include "platform/sdl_audio.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace plat::sdl {

namespace {

constexpr int kDeviceRate = 44100;
constexpr int kDeviceChannels = 2;
constexpr int kDeviceSamples = 1024;  // frames per callback: about 23 ms at 44.1 kHz
constexpr std::uint32_t kLowestRate = 1000;
constexpr std::uint32_t kHighestRate = 384000;

SDL_AudioFormat waveToSdlFormat(const WaveFormat& format) {
    // Wave files hold unsigned 8-bit or signed little-endian 16-bit samples.
    return format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
}

}  // namespace

bool Audio::open(std::string& why) {
    close();
    Subsystem subsystem(SDL_INIT_AUDIO);
    if (!subsystem.ok()) {
        why = SDL_GetError();
        return true;
    }
    SDL_AudioSpec want{};
    want.freq = kDeviceRate;
    want.format = AUDIO_S16SYS;
    want.channels = kDeviceChannels;
    want.samples = kDeviceSamples;
    want.callback = &Audio::fillStream;
    want.userdata = this;
    SDL_AudioSpec have{};
    // The rate and the channel count may be the device's own; the samples stay 16-bit (SDL
    // converts them behind the callback if the device wants something else).
    const SDL_AudioDeviceID id =
        SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (id == 0) {
        why = SDL_GetError();
        return true;
    }
    subsystem_ = std::move(subsystem);
    deviceFormat_ = have;
    device_ = AudioDevice(id);
    SDL_PauseAudioDevice(id, 0);
    return true;
}

void Audio::close() {
    device_.reset();
    subsystem_.reset();
    voices_.clear();
    deviceFormat_ = SDL_AudioSpec{};
}

bool Audio::acceptsFormat(const WaveFormat& format) {
    return format.formatTag == kWaveFormatPcm &&
           (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
           (format.channels == 1 || format.channels == 2) &&
           format.samplesPerSecond >= kLowestRate && format.samplesPerSecond <= kHighestRate;
}

void Audio::setSound(std::uint32_t id, const SoundData& sound) {
    Voice voice;
    if (device_ && acceptsFormat(sound.format)) {
        // Only whole sample frames are converted: a ragged end is dropped.
        const std::size_t frameBytes =
            static_cast<std::size_t>(sound.format.channels) * (sound.format.bitsPerSample / 8);
        const std::size_t bytes = sound.bytes.size() - sound.bytes.size() % frameBytes;
        SDL_AudioCVT cvt;
        const int built = SDL_BuildAudioCVT(&cvt, waveToSdlFormat(sound.format),
                                            static_cast<Uint8>(sound.format.channels),
                                            static_cast<int>(sound.format.samplesPerSecond),
                                            AUDIO_S16SYS, deviceFormat_.channels, deviceFormat_.freq);
        if (built >= 0 && bytes > 0 && bytes <= static_cast<std::size_t>(SDL_MAX_SINT32 / 16)) {
            std::vector<Uint8> work(bytes * static_cast<std::size_t>(std::max(cvt.len_mult, 1)));
            std::memcpy(work.data(), sound.bytes.data(), bytes);
            cvt.buf = work.data();
            cvt.len = static_cast<int>(bytes);
            if (built == 0 || SDL_ConvertAudio(&cvt) == 0) {
                const std::size_t converted =
                    built == 0 ? bytes : static_cast<std::size_t>(cvt.len_cvt);
                voice.samples.resize(converted / sizeof(Sint16));
                std::memcpy(voice.samples.data(), work.data(),
                            voice.samples.size() * sizeof(Sint16));
            }
        }
    }
    AudioLock lock(device_.id());
    voices_[id] = std::move(voice);
}

void Audio::play(std::uint32_t id, bool loop) {
    AudioLock lock(device_.id());
    const auto found = voices_.find(id);
    if (found == voices_.end()) {
        return;
    }
    Voice& voice = found->second;
    voice.loop = loop;
    if (!voice.playing) {
        // A sound that has finished starts again from its beginning; one that plays carries on.
        voice.position = 0;
        voice.playing = !voice.samples.empty();
    }
}

void Audio::drop(std::uint32_t id) {
    AudioLock lock(device_.id());
    voices_.erase(id);
}

void Audio::pause(bool paused) {
    if (device_) {
        SDL_PauseAudioDevice(device_.id(), paused ? 1 : 0);
    }
}

void SDLCALL Audio::fillStream(void* self, Uint8* stream, int length) {
    static_cast<Audio*>(self)->mix(reinterpret_cast<Sint16*>(stream),
                                   static_cast<std::size_t>(length) / sizeof(Sint16));
}

void Audio::mix(Sint16* out, std::size_t samples) {
    std::array<Sint32, 2048> sum;
    // Chunks hold whole frames, so that every sound stays on its channels.
    const std::size_t channels = std::max<std::size_t>(deviceFormat_.channels, 1);
    const std::size_t room = sum.size() - sum.size() % channels;
    while (samples > 0) {
        const std::size_t count = std::min(samples, room);
        std::fill_n(sum.begin(), count, 0);
        for (auto& [id, voice] : voices_) {
            std::size_t done = 0;
            while (voice.playing && done < count) {
                const std::size_t take =
                    std::min(count - done, voice.samples.size() - voice.position);
                for (std::size_t i = 0; i < take; ++i) {
                    sum[done + i] += voice.samples[voice.position + i];
                }
                done += take;
                voice.position += take;
                if (voice.position >= voice.samples.size()) {
                    voice.position = 0;
                    voice.playing = voice.loop;
                }
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            out[i] =
                static_cast<Sint16>(std::clamp<Sint32>(sum[i], SDL_MIN_SINT16, SDL_MAX_SINT16));
        }
        out += count;
        samples -= count;
    }
}

}  // namespace plat::sdl
