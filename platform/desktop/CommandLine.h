#pragma once
// The few options a command-line user expects, answered before anything opens: no window and
// no lock, so they work while the game runs.
#include <optional>

namespace CommandLine {
// The exit status when the arguments were an option that was answered (or a mistake);
// nothing when the game should start.
std::optional<int> answer(int argc, char** argv);
} // namespace CommandLine
