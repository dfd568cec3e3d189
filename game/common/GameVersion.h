#pragma once
// The version, set once in the project's top CMakeLists.txt, for the title screen and the
// command line.
extern const char* const kGameVersion;
