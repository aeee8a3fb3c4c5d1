#include "sound_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace sound {

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kDt = 1.0f / kSampleRate;

int samplesFor(float seconds) {
    return static_cast<int>(std::lround(seconds * kSampleRate));
}

// White noise from a fixed seed (xorshift32), in [-1, 1].
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    float next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(state_ & 0xFFFFFF) / static_cast<float>(0xFFFFFF) * 2.0f - 1.0f;
    }

  private:
    std::uint32_t state_;
};

// A second-order filter (the usual "cookbook" biquads), retuned at will between samples.
class Biquad {
  public:
    void bandPass(float frequency, float q) {
        const float w = kTwoPi * frequency * kDt;
        const float alpha = std::sin(w) / (2.0f * q);
        set(alpha, 0.0f, -alpha, 1.0f + alpha, -2.0f * std::cos(w), 1.0f - alpha);
    }
    void lowPass(float frequency, float q) {
        const float w = kTwoPi * frequency * kDt;
        const float alpha = std::sin(w) / (2.0f * q);
        const float c = std::cos(w);
        set((1.0f - c) * 0.5f, 1.0f - c, (1.0f - c) * 0.5f, 1.0f + alpha, -2.0f * c, 1.0f - alpha);
    }
    void highPass(float frequency, float q) {
        const float w = kTwoPi * frequency * kDt;
        const float alpha = std::sin(w) / (2.0f * q);
        const float c = std::cos(w);
        set((1.0f + c) * 0.5f, -(1.0f + c), (1.0f + c) * 0.5f, 1.0f + alpha, -2.0f * c,
            1.0f - alpha);
    }
    float process(float x) {
        const float y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

  private:
    void set(float b0, float b1, float b2, float a0, float a1, float a2) {
        b0_ = b0 / a0;
        b1_ = b1 / a0;
        b2_ = b2 / a0;
        a1_ = a1 / a0;
        a2_ = a2 / a0;
    }

    float b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    float x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// A decaying sine partial: amplitude * exp(-t / decay) * sin(2 pi f t).
float partial(float t, float frequency, float amplitude, float decay) {
    return amplitude * std::exp(-t / decay) * std::sin(kTwoPi * frequency * t);
}

// Scales the sound to the given peak and shapes its ends, so that it neither clips nor pops.
Wave finished(std::vector<float> samples, float peak, float fadeIn, float fadeOut) {
    float loudest = 0;
    for (const float s : samples) {
        loudest = std::max(loudest, std::fabs(s));
    }
    const float gain = loudest > 0 ? peak / loudest : 0.0f;
    const int n = static_cast<int>(samples.size());
    const int in = std::max(1, samplesFor(fadeIn));
    const int out = std::max(1, samplesFor(fadeOut));
    for (int i = 0; i < n; ++i) {
        float g = gain;
        if (i < in) {
            g *= 0.5f - 0.5f * std::cos(std::numbers::pi_v<float> * i / in);
        }
        if (i >= n - out) {
            g *= 0.5f - 0.5f * std::cos(std::numbers::pi_v<float> * (n - 1 - i) / out);
        }
        samples[i] *= g;
    }
    return Wave{std::move(samples)};
}

// A short room: three feedback echoes, mixed in quietly, to give a sound some air.
void addRoom(std::vector<float>& samples, float amount) {
    const int delays[3] = {samplesFor(0.0297f), samplesFor(0.0371f), samplesFor(0.0411f)};
    std::vector<float> wet(samples.size(), 0.0f);
    for (const int delay : delays) {
        std::vector<float> line(samples.size(), 0.0f);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const float back = i >= static_cast<std::size_t>(delay) ? line[i - delay] : 0.0f;
            line[i] = samples[i] + 0.55f * back;
            wet[i] += back;
        }
    }
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] += wet[i] * amount / 3.0f;
    }
}

}  // namespace

Wave makeClick() {
    // A light wooden tick: a short knock of two partials and a breath of filtered noise.
    const int n = samplesFor(0.040f);
    std::vector<float> s(n);
    Noise noise(0xC11C);
    Biquad band;
    band.bandPass(2600.0f, 1.2f);
    for (int i = 0; i < n; ++i) {
        const float t = i * kDt;
        float v = partial(t, 1850.0f, 0.55f, 0.0040f) + partial(t, 920.0f, 0.45f, 0.0075f) +
                  partial(t, 460.0f, 0.25f, 0.0110f);
        v += band.process(noise.next()) * 0.9f * std::exp(-t / 0.0025f);
        s[i] = v;
    }
    return finished(std::move(s), 0.45f, 0.0008f, 0.006f);
}

Wave makeMove() {
    // The piece slides a little on the board, then settles with a soft wooden knock.
    const int n = samplesFor(0.150f);
    std::vector<float> s(n);
    Noise noise(0xDE71);
    Biquad band;
    Biquad smooth;
    smooth.lowPass(3000.0f, 0.7f);
    const float knockAt = 0.100f;
    for (int i = 0; i < n; ++i) {
        const float t = i * kDt;
        // The slide: a swell of band-passed noise whose pitch falls as the piece slows.
        const float slide =
            t < 0.105f ? std::pow(std::sin(std::numbers::pi_v<float> * t / 0.105f), 1.6f) : 0.0f;
        band.bandPass(1300.0f - 5000.0f * t, 0.9f);
        float v = smooth.process(band.process(noise.next())) * slide * 0.55f;
        if (t >= knockAt) {
            const float k = t - knockAt;
            v += partial(k, 330.0f, 0.60f, 0.022f) + partial(k, 805.0f, 0.30f, 0.011f) +
                 partial(k, 1390.0f, 0.12f, 0.006f);
        }
        s[i] = v;
    }
    return finished(std::move(s), 0.55f, 0.004f, 0.010f);
}

Wave makeAttack() {
    // A heavy thud (a falling low sine), a crack, a burst of splinters (noise whose brightness
    // falls away) and a faint metallic ring.
    const int n = samplesFor(0.350f);
    std::vector<float> s(n);
    Noise noise(0xA77A);
    Noise crackNoise(0xC4AC);
    Biquad dull;
    Biquad crack;
    crack.highPass(2500.0f, 0.7f);
    float phase = 0.0f;
    for (int i = 0; i < n; ++i) {
        const float t = i * kDt;
        const float frequency = 46.0f + 110.0f * std::exp(-t / 0.045f);
        phase += kTwoPi * frequency * kDt;
        const float thud = std::sin(phase) * std::exp(-t / 0.095f) * std::min(1.0f, t / 0.003f);
        dull.lowPass(500.0f + 4200.0f * std::exp(-t / 0.035f), 0.8f);
        const float burst = dull.process(noise.next()) * std::exp(-t / 0.060f);
        const float snap = crack.process(crackNoise.next()) * std::exp(-t / 0.006f);
        const float ring = partial(t, 1170.0f, 0.05f, 0.12f) + partial(t, 1723.0f, 0.04f, 0.09f) +
                           partial(t, 2560.0f, 0.03f, 0.07f) + partial(t, 3390.0f, 0.02f, 0.05f);
        s[i] = 1.0f * thud + 0.55f * burst + 0.35f * snap + ring;
    }
    return finished(std::move(s), 0.85f, 0.001f, 0.030f);
}

Wave makeVictory() {
    // A rising call on brass, G C E G, a short answer, and a held C major chord over a
    // timpani stroke; a little room around it.
    struct Note {
        float start;
        float length;
        float frequency;
        float loudness;
    };
    constexpr float kC3 = 130.81f, kC4 = 261.63f, kG4 = 392.00f, kC5 = 523.25f, kE5 = 659.26f,
                    kG5 = 783.99f, kC6 = 1046.50f;
    const Note notes[] = {
        {0.00f, 0.12f, kG4, 0.8f},
        {0.14f, 0.12f, kC5, 0.8f},
        {0.28f, 0.12f, kE5, 0.85f},
        {0.42f, 0.28f, kG5, 0.95f},
        {0.72f, 0.12f, kE5, 0.8f},
        // The final chord.
        {0.88f, 0.62f, kC4, 0.45f},
        {0.88f, 0.62f, kC5, 0.7f},
        {0.88f, 0.62f, kE5, 0.6f},
        {0.88f, 0.62f, kG5, 0.6f},
        {0.88f, 0.62f, kC6, 0.55f},
    };
    constexpr float kRelease = 0.09f;
    constexpr float kFinalRelease = 0.35f;
    const int n = samplesFor(1.85f);
    std::vector<float> s(n, 0.0f);

    for (const Note& note : notes) {
        const bool final = note.start > 0.85f;
        const float release = final ? kFinalRelease : kRelease;
        const int first = samplesFor(note.start);
        const int last = std::min(n, samplesFor(note.start + note.length + release));
        float phase = 0.0f;
        for (int i = first; i < last; ++i) {
            const float t = (i - first) * kDt;
            // Envelope: quick attack, a small fall to the sustain, a smooth release.
            float env = std::min(1.0f, t / 0.018f);
            env *= 0.78f + 0.22f * std::exp(-t / 0.06f);
            if (t > note.length) {
                env *= std::exp(-(t - note.length) / (release * 0.3f));
            }
            // A gentle vibrato on the long notes, after they have settled.
            const float vibrato = 1.0f + 0.004f * std::sin(kTwoPi * 5.5f * t) *
                                             std::min(1.0f, std::max(0.0f, t - 0.12f) / 0.15f);
            phase += kTwoPi * note.frequency * vibrato * kDt;
            // Brass: many harmonics, brighter as the note opens.
            const float brightness = 0.35f + 0.65f * std::min(1.0f, t / 0.05f);
            float v = 0.0f;
            for (int h = 1; h <= 8; ++h) {
                const float weight = std::pow(brightness, static_cast<float>(h - 1)) /
                                     std::pow(static_cast<float>(h), 1.15f);
                v += weight * std::sin(phase * h);
            }
            s[i] += v * env * note.loudness;
        }
    }

    // The timpani under the chord: a low C struck once.
    const int strike = samplesFor(0.88f);
    Noise noise(0x7133);
    Biquad skin;
    skin.lowPass(400.0f, 0.7f);
    for (int i = strike; i < n; ++i) {
        const float t = (i - strike) * kDt;
        const float pitch = kC3 * (1.0f + 0.06f * std::exp(-t / 0.05f));
        s[i] += 0.9f * std::sin(kTwoPi * pitch * t) * std::exp(-t / 0.35f) +
                0.6f * skin.process(noise.next()) * std::exp(-t / 0.03f);
    }

    addRoom(s, 0.35f);
    return finished(std::move(s), 0.8f, 0.002f, 0.060f);
}

}  // namespace sound
