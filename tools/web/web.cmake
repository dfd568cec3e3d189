# The browser build (emcmake cmake -DDOVI_WEB_LIBS=<prefix>), included by the top CMakeLists.txt.
# The same engine/ and game/ as the desktop; a file in engine/web/ stands in for the engine/ file
# of the same name, where the browser differs from the desktop.
set(DOVI_WEB_LIBS "" CACHE PATH "Where tools/web/build_libs.sh put the browser's libraries")
if(NOT EXISTS "${DOVI_WEB_LIBS}/lib/libSDL2.a")
  message(FATAL_ERROR "DOVI_WEB_LIBS must name the prefix printed by tools/web/build_libs.sh")
endif()

# Small before fast: the program is downloaded before the game can start. Link-time
# optimisation drops what the game's own code never reaches.
set(CMAKE_CXX_FLAGS_RELEASE "-Oz -flto -DNDEBUG")
add_link_options(-Oz -flto)

file(GLOB ENGINE_SOURCES CONFIGURE_DEPENDS engine/*.cpp)
file(GLOB ENGINE_WEB_SOURCES CONFIGURE_DEPENDS engine/web/*.cpp)
foreach(web_source ${ENGINE_WEB_SOURCES})
  get_filename_component(name ${web_source} NAME)
  list(REMOVE_ITEM ENGINE_SOURCES ${CMAKE_SOURCE_DIR}/engine/${name})
endforeach()
# The desktop's lock watch has a file of its own per desktop; the page's notice stands in for it.
list(REMOVE_ITEM ENGINE_SOURCES ${CMAKE_SOURCE_DIR}/engine/ScreenLockWatchX11.cpp)
add_library(engine STATIC ${ENGINE_SOURCES} ${ENGINE_WEB_SOURCES})
target_include_directories(engine PUBLIC engine)
# Not as system folders: emscripten's own (older) SDL headers would be found first. Private, as on
# the desktop: the game compiles without SDL's headers.
target_include_directories(engine PRIVATE ${DOVI_WEB_LIBS}/include/SDL2 ${DOVI_WEB_LIBS}/include)
# The mixer under its own name: emcc would take -lSDL2_mixer for its download-only port.
target_link_libraries(engine PUBLIC
  ${DOVI_WEB_LIBS}/lib/libSDL2_image.a ${DOVI_WEB_LIBS}/lib/libSDL2_ttf.a ${DOVI_WEB_LIBS}/lib/libfreetype.a
  ${DOVI_WEB_LIBS}/lib/libdovi_SDL2_mixer.a ${DOVI_WEB_LIBS}/lib/libSDL2.a ${DOVI_WEB_LIBS}/lib/libsqlite3.a)

include(cmake/game.cmake)

set(DOVI_PAGE ${CMAKE_SOURCE_DIR}/tools/web/page)
add_executable(doviveduzuz platform/web/main.cpp tools/web/TestHook.cpp)
set_target_properties(doviveduzuz PROPERTIES SUFFIX ".js")
target_link_libraries(doviveduzuz PRIVATE game)
target_link_options(doviveduzuz PRIVATE
  -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB -sFORCE_FILESYSTEM=1
  -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=2
  "-sEXPORTED_FUNCTIONS=['_main','_dovi_state','_dovi_seed','_dovi_files_arrived']"
  "-sEXPORTED_RUNTIME_METHODS=['FS','addRunDependency','removeRunDependency','UTF8ToString']"
  # SDL's audio resumes the page's sound on the first press with these, which only its port pulls in.
  # (Read from a file: the shell running the link would take their $ for its own.)
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/tools/web/library_funcs.json
  "SHELL:--pre-js ${DOVI_PAGE}/store.js" "SHELL:--pre-js ${DOVI_PAGE}/pre.js")
set_property(TARGET doviveduzuz APPEND PROPERTY LINK_DEPENDS ${DOVI_PAGE}/store.js ${DOVI_PAGE}/pre.js)

# The static folder: the page, the program, and the assets in three packages (the title's first).
set(DOVI_SITE ${CMAKE_BINARY_DIR}/site)
add_custom_command(OUTPUT ${DOVI_SITE}/index.html
  COMMAND ${CMAKE_COMMAND} -E env EMSDK_PYTHON=/usr/bin/python3 NODE_PATH=/usr/share/nodejs
    ${CMAKE_SOURCE_DIR}/tools/web/make_site.sh ${CMAKE_SOURCE_DIR} $<TARGET_FILE_DIR:doviveduzuz> ${DOVI_SITE}
  DEPENDS doviveduzuz ${CMAKE_SOURCE_DIR}/tools/web/make_site.sh ${CMAKE_SOURCE_DIR}/tools/web/title_files.txt
    ${CMAKE_SOURCE_DIR}/tools/web/late_files.txt
    ${CMAKE_SOURCE_DIR}/assets/manifest.txt ${DOVI_PAGE}/index.html ${DOVI_PAGE}/page.js ${DOVI_PAGE}/page.css
  VERBATIM)
add_custom_target(site ALL DEPENDS ${DOVI_SITE}/index.html)

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
