#pragma once
// Fixed game steps from a display's frames, for a display whose rate the game does not choose
// (the browser's animation frames: 30, 60, 120, 144 Hz...). The game moves a fixed amount per
// step, so it takes one step per interval of real time whatever the display's rate: none in
// some frames of a fast display, several in a frame of a slow one. After a stall it takes at
// most a few and drops the rest, so the game is not thrown ahead in a burst.
namespace cocos2d {

class FrameSteps {
  public:
    FrameSteps(double interval, int maxSteps);

    // A frame shown at `now` seconds: the number of steps the game takes before drawing it.
    int stepsAt(double now);
    // The time until the next frame is not game time (after a pause).
    void restart() { _started = false; }

    // A frame this close to a whole number of steps counts as that number: the timestamps of a
    // display jitter around its period, and a step must not come a frame early or late.
    static constexpr double kSnap = 0.2;

  private:
    double _interval;
    int _maxSteps;
    bool _started = false;
    double _last = 0;
    // Real time not yet taken as steps, in steps; slightly below zero after a snapped frame.
    double _owed = 0;
};

} // namespace cocos2d
