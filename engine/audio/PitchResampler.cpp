#include "engine/audio/PitchResampler.h"

#include <SDL_audio.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace CocosDenshion {

namespace {

template <typename T> T loadSample(const std::uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T> void storeSample(std::uint8_t* at, double value) {
    T sample;
    if constexpr (std::is_floating_point_v<T>) {
        sample = static_cast<T>(value);
    } else {
        const double low = static_cast<double>(std::numeric_limits<T>::min());
        const double high = static_cast<double>(std::numeric_limits<T>::max());
        sample = static_cast<T>(std::clamp(std::round(value), low, high));
    }
    std::memcpy(at, &sample, sizeof sample);
}

template <typename T>
void resample(const std::uint8_t* in, std::size_t inFrames, std::uint8_t* out, std::size_t outFrames,
              int channels, double step) {
    const std::size_t frameBytes = sizeof(T) * static_cast<std::size_t>(channels);
    for (std::size_t i = 0; i < outFrames; ++i) {
        const double position = static_cast<double>(i) * step;
        const std::size_t i0 = std::min(static_cast<std::size_t>(position), inFrames - 1);
        const std::size_t i1 = std::min(i0 + 1, inFrames - 1);
        const double frac = position - static_cast<double>(i0);
        for (int c = 0; c < channels; ++c) {
            const std::size_t offset = sizeof(T) * static_cast<std::size_t>(c);
            const double a = static_cast<double>(loadSample<T>(in + i0 * frameBytes + offset));
            const double b = static_cast<double>(loadSample<T>(in + i1 * frameBytes + offset));
            storeSample<T>(out + i * frameBytes + offset, a + (b - a) * frac);
        }
    }
}

} // namespace

PitchResampler PitchResampler::forFormat(std::uint16_t format) {
    switch (format) {
    case AUDIO_U8:
        return PitchResampler(resample<Uint8>);
    case AUDIO_S8:
        return PitchResampler(resample<Sint8>);
    case AUDIO_S16SYS:
        return PitchResampler(resample<Sint16>);
    case AUDIO_U16SYS:
        return PitchResampler(resample<Uint16>);
    case AUDIO_S32SYS:
        return PitchResampler(resample<Sint32>);
    case AUDIO_F32SYS:
        return PitchResampler(resample<float>);
    default:
        return PitchResampler(nullptr);
    }
}

std::size_t PitchResampler::framesOut(std::size_t inFrames, double step) {
    return std::max<std::size_t>(1, static_cast<std::size_t>(static_cast<double>(inFrames) / step));
}

} // namespace CocosDenshion
