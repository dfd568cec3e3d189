# The game, as a library so the program, the harness and the tests share it: one code for every
# platform, built on the engine the including platform has declared.
file(GLOB_RECURSE GAME_SOURCES CONFIGURE_DEPENDS game/*.cpp)
add_library(game STATIC ${GAME_SOURCES})
target_link_libraries(game PUBLIC engine)
# The version, set once in the top CMakeLists.txt, for the title screen and the command line.
set_source_files_properties(game/common/GameVersion.cpp PROPERTIES
  COMPILE_DEFINITIONS DOVI_GAME_VERSION="${PROJECT_VERSION}")
