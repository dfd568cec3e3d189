#pragma once
// One frame of the running game, as every frame driver (the desktop's paced loop, the page's
// animation frames) and the harness run it: the director's step, then what ends every frame.
// Everything the frame set is saved together once the frame is complete, and a note says so
// while it cannot be; objects let go of during the frame are freed.
namespace cocos2d::AppFrame {

// `draw` false: a step of several taken before one picture is shown.
void step(double dt, bool draw = true);

} // namespace cocos2d::AppFrame
