// The resampler alone: interpolation, the ends of a sound, clamping, and the formats it reads.
#include "engine/audio/PitchResampler.h"

#include <SDL_audio.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

using CocosDenshion::PitchResampler;

namespace {

template <typename T>
std::vector<T> resampled(Uint16 format, const std::vector<T>& in, int channels, double step) {
    const PitchResampler resampler = PitchResampler::forFormat(format);
    EXPECT_TRUE(resampler);
    const std::size_t inFrames = in.size() / static_cast<std::size_t>(channels);
    std::vector<T> out(PitchResampler::framesOut(inFrames, step) * static_cast<std::size_t>(channels));
    resampler.run(reinterpret_cast<const std::uint8_t*>(in.data()), inFrames,
                  reinterpret_cast<std::uint8_t*>(out.data()),
                  out.size() / static_cast<std::size_t>(channels), channels, step);
    return out;
}

} // namespace

TEST(PitchResampler, TwiceThePitchTakesEveryOtherFrameAndHalfPutsMidpointsBetween) {
    // Stereo: the channels stay apart.
    const std::vector<Sint16> in = {0, 100, 10, 200, 20, 300, 30, 400};
    EXPECT_EQ((std::vector<Sint16>{0, 100, 20, 300}), resampled<Sint16>(AUDIO_S16SYS, in, 2, 2.0));
    // Past the last frame the sound holds it rather than reading beyond the end.
    EXPECT_EQ((std::vector<Sint16>{0, 100, 5, 150, 10, 200, 15, 250, 20, 300, 25, 350, 30, 400, 30, 400}),
              resampled<Sint16>(AUDIO_S16SYS, in, 2, 0.5));
}

TEST(PitchResampler, EveryNativeFormatInterpolatesAndRounds) {
    EXPECT_EQ((std::vector<Uint8>{0, 191, 255, 255}), resampled<Uint8>(AUDIO_U8, {0, 255, 255}, 1, 0.75));
    // Halfway rounds away from zero.
    EXPECT_EQ((std::vector<Sint8>{-128, -1, 127, 127}), resampled<Sint8>(AUDIO_S8, {-128, 127}, 1, 0.5));
    EXPECT_EQ((std::vector<Uint16>{0, 500, 1000, 1000}), resampled<Uint16>(AUDIO_U16SYS, {0, 1000}, 1, 0.5));
    EXPECT_EQ((std::vector<Sint32>{0, 500000, 1000000, 1000000}),
              resampled<Sint32>(AUDIO_S32SYS, {0, 1000000}, 1, 0.5));
    EXPECT_EQ((std::vector<float>{-1.0f, 0.0f, 1.0f, 1.0f}),
              resampled<float>(AUDIO_F32SYS, {-1.0f, 1.0f}, 1, 0.5));
    // Byte-swapped samples are not read: such a sound plays unpitched.
    EXPECT_FALSE(PitchResampler::forFormat(SDL_BYTEORDER == SDL_LIL_ENDIAN ? AUDIO_S16MSB : AUDIO_S16LSB));
    EXPECT_EQ(1u, PitchResampler::framesOut(1, 10.0));
}
