# The tests, by level: the engine alone, the game through the harness, whole programs, all in one
# GoogleTest program with helpers in tests/support; the checks run as scripts (tests/shell); the
# browser version in chromium (tests/web).
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB TEST_SOURCES CONFIGURE_DEPENDS tests/engine/*.cpp tests/game/*.cpp tests/program/*.cpp
  tests/support/*.cpp)
add_executable(unit_tests ${TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE soak_core PkgConfig::SQLITE GTest::gtest GTest::gtest_main)
target_compile_definitions(unit_tests PRIVATE
  DOVI_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DOVI_BINARY_DIR="${CMAKE_BINARY_DIR}")
# The exit and store tests run the real game program; the asset tests the audible harness.
add_dependencies(unit_tests doviveduzuz playtest assets_link slow_sync)
# Runs that need the optimised program (many processes, one per case) skip themselves here.
if(DOVI_SANITIZE)
  target_compile_definitions(unit_tests PRIVATE DOVI_SANITIZE_BUILD=1)
endif()
# Deadlines for a loaded machine: a test fails on what it saw, never on how long it took.
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 300 PROPERTIES TIMEOUT 3000
  ENVIRONMENT "SDL_AUDIODRIVER=dummy;SDL_VIDEODRIVER=dummy")
add_test(NAME layering_check COMMAND ${CMAKE_SOURCE_DIR}/tests/shell/layering_check.sh ${CMAKE_SOURCE_DIR})
add_test(NAME translations_check COMMAND ${CMAKE_SOURCE_DIR}/tests/shell/translations_check.sh ${CMAKE_SOURCE_DIR})
set_tests_properties(translations_check PROPERTIES SKIP_RETURN_CODE 77)
if(NOT DOVI_SANITIZE)
  add_test(NAME install_smoke COMMAND ${CMAKE_SOURCE_DIR}/tests/shell/install_smoke.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
  add_test(NAME package_check COMMAND ${CMAKE_SOURCE_DIR}/tests/shell/package_check.sh
    ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${PROJECT_VERSION})
  set_tests_properties(install_smoke package_check PROPERTIES TIMEOUT 3000)
  set_tests_properties(package_check PROPERTIES SKIP_RETURN_CODE 77)
  # The real window on a virtual display under a window manager.
  add_test(NAME remembered_window COMMAND ${CMAKE_SOURCE_DIR}/tests/shell/remembered_window.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(remembered_window PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 3000)
  # The browser version (platform/web/build.sh puts the copy carrying the state hook in build-web/test-site) in Debian's chromium.
  foreach(web_test loop page pictures store screen)
    add_test(NAME web_${web_test} COMMAND node ${CMAKE_SOURCE_DIR}/tests/web/${web_test}.test.mjs)
    set_tests_properties(web_${web_test} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900
      ENVIRONMENT "DOVI_PLAYTEST=$<TARGET_FILE:playtest>;DOVI_SITE=${CMAKE_SOURCE_DIR}/build-web/test-site")
  endforeach()
endif()
