# The game, as a library so the program, the harness and the tests share it: one code for the
# desktop and the browser, built on whichever engine the including file has declared.
file(GLOB_RECURSE GAME_SOURCES CONFIGURE_DEPENDS game/*.cpp)
add_library(game STATIC ${GAME_SOURCES})
target_include_directories(game PUBLIC game game/app game/round game/result game/event game/title game/shop)
target_link_libraries(game PUBLIC engine)
# The version, set once in the top CMakeLists.txt, for the title screen and the command line.
configure_file(game/app/GameVersion.h.in ${CMAKE_BINARY_DIR}/generated/GameVersion.h @ONLY)
target_include_directories(game PUBLIC ${CMAKE_BINARY_DIR}/generated)
