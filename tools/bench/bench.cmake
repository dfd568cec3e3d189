# The benchmarks (-DDOVI_BENCH=ON): programs a developer runs, measuring speed and memory on the
# harness and on the real program beside plain SDL.
find_package(benchmark REQUIRED)
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS tools/bench/*.cpp)
add_executable(bench ${BENCH_SOURCES})
target_link_libraries(bench PRIVATE playtest_core benchmark::benchmark)
# Start-up: the baseline program (SDL alone) and the probe preloaded into both programs.
pkg_check_modules(SDL2_ONLY REQUIRED IMPORTED_TARGET sdl2)
add_executable(bench_minimal_sdl tools/bench/startup/minimal_sdl.cpp)
target_link_libraries(bench_minimal_sdl PRIVATE PkgConfig::SDL2_ONLY)
add_library(bench_first_frame_probe MODULE tools/bench/startup/first_frame_probe.cpp)
target_link_libraries(bench_first_frame_probe PRIVATE PkgConfig::SDL2_ONLY ${CMAKE_DL_LIBS})
# The real window: a probe noting every present, the fill floor, and the pacer on a real display.
add_library(bench_present_probe MODULE tools/bench/window/present_probe.cpp)
target_link_libraries(bench_present_probe PRIVATE PkgConfig::SDL2_ONLY ${CMAKE_DL_LIBS})
add_executable(bench_floor tools/bench/window/floor.cpp)
target_link_libraries(bench_floor PRIVATE PkgConfig::SDL2)
add_executable(bench_pacing_check tools/bench/window/pacing_check.cpp)
target_link_libraries(bench_pacing_check PRIVATE engine PkgConfig::SDL2)
add_dependencies(bench doviveduzuz bench_minimal_sdl bench_first_frame_probe bench_present_probe bench_floor
  bench_pacing_check assets_link)
target_compile_definitions(bench PRIVATE
  DOVI_GAME_EXE="$<TARGET_FILE:doviveduzuz>"
  DOVI_MINIMAL_SDL_EXE="$<TARGET_FILE:bench_minimal_sdl>"
  DOVI_FIRST_FRAME_PROBE="$<TARGET_FILE:bench_first_frame_probe>")
