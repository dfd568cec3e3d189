#pragma once
// The benchmark program's own entry: with kWholeLoopFlag it only plays the whole loop and
// prints its memory figures (the child process of the memory benchmark).
#include <string>

namespace bench {

inline constexpr const char* kWholeLoopFlag = "--whole-loop-child";

// Plays the loop; prints "peakKB endKB frames". Exit status 0 on success.
int runWholeLoop();

// This program's own file, to start it again as a child.
std::string selfPath();

} // namespace bench
