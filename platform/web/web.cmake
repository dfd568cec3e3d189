# The browser build (emcmake cmake -DDOVI_WEB_LIBS=<prefix>), included by the top CMakeLists.txt.
# The same engine/ and game/ as the desktop, with the browser's side of the engine's seams from
# platform/web/seams.
set(DOVI_WEB_LIBS "" CACHE PATH "Where platform/web/build_libs.sh put the browser's libraries")
if(NOT EXISTS "${DOVI_WEB_LIBS}/lib/libSDL2.a")
  message(FATAL_ERROR "DOVI_WEB_LIBS must name the prefix printed by platform/web/build_libs.sh")
endif()

# Small before fast: the program is downloaded before the game can start. Link-time
# optimisation drops what the game's own code never reaches.
set(CMAKE_CXX_FLAGS_RELEASE "-Oz -flto -DNDEBUG")
add_link_options(-Oz -flto)

include(cmake/engine.cmake)
# Not as system folders: emscripten's own (older) SDL headers would be found first. Private, as on
# the desktop: the game compiles without SDL's headers.
target_include_directories(engine PRIVATE ${DOVI_WEB_LIBS}/include/SDL2 ${DOVI_WEB_LIBS}/include)
# The mixer under its own name: emcc would take -lSDL2_mixer for its download-only port.
target_link_libraries(engine PUBLIC
  ${DOVI_WEB_LIBS}/lib/libSDL2_image.a ${DOVI_WEB_LIBS}/lib/libSDL2_ttf.a ${DOVI_WEB_LIBS}/lib/libfreetype.a
  ${DOVI_WEB_LIBS}/lib/libdovi_SDL2_mixer.a ${DOVI_WEB_LIBS}/lib/libSDL2.a ${DOVI_WEB_LIBS}/lib/libsqlite3.a)

include(cmake/game.cmake)

set(DOVI_PAGE ${CMAKE_SOURCE_DIR}/platform/web/page)
# The program the site serves, and the same program with the state hook the browser tests read
# (harness/web/TestHook.cpp), for the tests' own copy of the site: what ./run.sh --web serves and
# zips never carries it.
add_executable(doviveduzuz platform/web/main.cpp)
add_executable(doviveduzuz_tested platform/web/main.cpp harness/web/TestHook.cpp)
set_target_properties(doviveduzuz_tested PROPERTIES OUTPUT_NAME doviveduzuz
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tested)
target_link_options(doviveduzuz PRIVATE "-sEXPORTED_FUNCTIONS=['_main','_dovi_files_arrived']")
target_link_options(doviveduzuz_tested PRIVATE
  "-sEXPORTED_FUNCTIONS=['_main','_dovi_files_arrived','_dovi_state','_dovi_seed']")
foreach(program doviveduzuz doviveduzuz_tested)
  set_target_properties(${program} PROPERTIES SUFFIX ".js")
  target_link_libraries(${program} PRIVATE game)
  target_link_options(${program} PRIVATE
    -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB -sFORCE_FILESYSTEM=1
    -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=2
    "-sEXPORTED_RUNTIME_METHODS=['FS','addRunDependency','removeRunDependency','UTF8ToString']"
    # SDL's audio resumes the page's sound on the first press with these, which only its port
    # pulls in. (Read from a file: the shell running the link would take their $ for its own.)
    -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/platform/web/library_funcs.json
    "SHELL:--pre-js ${DOVI_PAGE}/store.js" "SHELL:--pre-js ${DOVI_PAGE}/pre.js")
  set_property(TARGET ${program} APPEND PROPERTY LINK_DEPENDS ${DOVI_PAGE}/store.js ${DOVI_PAGE}/pre.js)
endforeach()

# The static folders: the page, the program, and the assets in three packages (the title's
# first): build-web/site (and its zip) for players, build-web/test-site for the browser tests.
foreach(kind site test-site)
  if(kind STREQUAL "site")
    set(program doviveduzuz)
  else()
    set(program doviveduzuz_tested)
  endif()
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${kind}/index.html
    COMMAND ${CMAKE_COMMAND} -E env EMSDK_PYTHON=/usr/bin/python3 NODE_PATH=/usr/share/nodejs
      ${CMAKE_SOURCE_DIR}/platform/web/make_site.sh ${CMAKE_SOURCE_DIR} $<TARGET_FILE_DIR:${program}>
      ${CMAKE_BINARY_DIR}/${kind}
    DEPENDS ${program} ${CMAKE_SOURCE_DIR}/platform/web/make_site.sh ${CMAKE_SOURCE_DIR}/platform/web/title_files.txt
      ${CMAKE_SOURCE_DIR}/platform/web/late_files.txt
      ${CMAKE_SOURCE_DIR}/assets/manifest.txt ${DOVI_PAGE}/index.html ${DOVI_PAGE}/page.js ${DOVI_PAGE}/page.css
    VERBATIM)
  add_custom_target(${kind} ALL DEPENDS ${CMAKE_BINARY_DIR}/${kind}/index.html)
endforeach()

# The benchmark's fill floor (tools/bench/web), built only when asked for: build-web/floor.
add_executable(bench_floor_web EXCLUDE_FROM_ALL tools/bench/web/floor.cpp)
set_target_properties(bench_floor_web PROPERTIES OUTPUT_NAME floor SUFFIX ".js"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/floor)
target_include_directories(bench_floor_web SYSTEM PRIVATE ${DOVI_WEB_LIBS}/include/SDL2 ${DOVI_WEB_LIBS}/include)
target_link_libraries(bench_floor_web PRIVATE ${DOVI_WEB_LIBS}/lib/libSDL2_image.a ${DOVI_WEB_LIBS}/lib/libSDL2.a)
target_link_options(bench_floor_web PRIVATE
  -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=2
  # SHELL: keeps the repeated flag, which CMake would otherwise fold into one.
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/assets/GameScene/newBack.png@/GameScene/newBack.png"
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/assets/TitleScene/tutiOne.png@/TitleScene/tutiOne.png")
add_custom_command(TARGET bench_floor_web POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/tools/bench/web/floor.html ${CMAKE_BINARY_DIR}/floor/index.html)
