#pragma once
// A sound played higher or lower: its samples stretched or squeezed by linear interpolation.
// Output frame i takes the input at position i * step, so step 2 plays an octave up in half the
// time. Works on interleaved samples of SDL's sample formats, without SDL in sight.
#include <cstddef>
#include <cstdint>

namespace CocosDenshion {

class PitchResampler {
  public:
    // Null for a format it does not read (the byte-swapped ones): such a sound plays unpitched.
    static PitchResampler forFormat(std::uint16_t format);
    explicit operator bool() const { return _run != nullptr; }

    // Frames out for `inFrames` in at `step` (at least one).
    static std::size_t framesOut(std::size_t inFrames, double step);
    // Fills `outFrames` frames of `channels` interleaved samples from `inFrames` (at least one).
    void run(const std::uint8_t* in, std::size_t inFrames, std::uint8_t* out, std::size_t outFrames,
             int channels, double step) const {
        _run(in, inFrames, out, outFrames, channels, step);
    }

  private:
    using Run = void (*)(const std::uint8_t*, std::size_t, std::uint8_t*, std::size_t, int, double);
    explicit PitchResampler(Run run) : _run(run) {}
    Run _run;
};

} // namespace CocosDenshion
