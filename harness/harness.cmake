# The harness: the game headless, driven by commands (--audible with a real audio device).
file(GLOB PLAYTEST_SOURCES CONFIGURE_DEPENDS harness/playtest/*.cpp)
list(FILTER PLAYTEST_SOURCES EXCLUDE REGEX "main\\.cpp$")
add_library(playtest_core STATIC ${PLAYTEST_SOURCES})
# The harness drives SDL's own event queue and virtual pads, as a desktop would.
target_link_libraries(playtest_core PUBLIC game PkgConfig::SDL2 nlohmann_json::nlohmann_json)
add_executable(playtest harness/playtest/main.cpp)
target_link_libraries(playtest PRIVATE playtest_core)
add_dependencies(playtest assets_link)

# Proofs under faults and load: helpers and the soak player in harness/soak, used by the tests,
# and the soak program for the long run.
add_library(soak_core STATIC harness/soak/SoakPlayer.cpp)
target_link_libraries(soak_core PUBLIC playtest_core)
add_executable(soak harness/soak/soak_main.cpp)
target_link_libraries(soak PRIVATE soak_core)
add_dependencies(soak assets_link)

# A slow disk, preloaded into the harness by the store tests.
add_library(slow_sync SHARED harness/slowsync/SlowSync.cpp)
target_link_libraries(slow_sync PRIVATE ${CMAKE_DL_LIBS})
