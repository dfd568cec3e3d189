# The engine, one folder per module, listed in the order they build on one another: a module
# includes only those before it (tests/shell/layering_check.sh holds the exact table). The seams in
# engine/platform are declared there and filled by the platform being built: its seams/ folder.
set(DOVI_ENGINE_MODULES base store audio window graphics scene input app)
set(ENGINE_SOURCES)
foreach(module ${DOVI_ENGINE_MODULES})
  file(GLOB module_sources CONFIGURE_DEPENDS engine/${module}/*.cpp)
  list(APPEND ENGINE_SOURCES ${module_sources})
endforeach()
if(NOT DOVI_PLATFORM)
  message(FATAL_ERROR "DOVI_PLATFORM must name the folder under platform/ being built")
endif()
file(GLOB PLATFORM_SEAMS CONFIGURE_DEPENDS platform/${DOVI_PLATFORM}/seams/*.cpp)
add_library(engine STATIC ${ENGINE_SOURCES} ${PLATFORM_SEAMS})
# One root for every target: an include names the folder it comes from.
target_include_directories(engine PUBLIC ${CMAKE_SOURCE_DIR})
