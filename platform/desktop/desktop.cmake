# The desktop build, included by the top CMakeLists.txt: SDL2 and SQLite from the system, X11 where
# it is there, the program, and what installing and the Debian package put on a desktop.

# The released program is hardened as Debian builds its packages: checked buffer functions, stack
# guards, a read-only relocation table bound at start, and a position-independent program.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
if(NOT DOVI_SANITIZE)
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security
    $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
if(DOVI_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2 SDL2_image SDL2_ttf SDL2_mixer)
pkg_check_modules(SQLITE REQUIRED IMPORTED_TARGET sqlite3)
# X11 gives the window every size of its icon and tells of a screen locked over it; without it
# SDL's one picture serves and nothing is watched.
pkg_check_modules(X11 IMPORTED_TARGET x11)
# The screen saver's state, when the lock watch can ask for it.
pkg_check_modules(XSS IMPORTED_TARGET xscrnsaver)
# The session's word on its lock, on its bus.
pkg_check_modules(DBUS IMPORTED_TARGET dbus-1)
find_package(nlohmann_json 3 REQUIRED)

include(cmake/engine.cmake)
# Private: the game compiles without SDL's or SQLite's headers, so it cannot call them.
target_link_libraries(engine PRIVATE PkgConfig::SDL2 PkgConfig::SQLITE)
if(X11_FOUND)
  target_link_libraries(engine PRIVATE PkgConfig::X11)
  # Read only by the desktop's seams (platform/desktop/seams).
  target_compile_definitions(engine PRIVATE DOVI_X11=1)
  if(XSS_FOUND)
    target_link_libraries(engine PRIVATE PkgConfig::XSS)
    target_compile_definitions(engine PRIVATE DOVI_XSS=1)
  endif()
endif()
if(DBUS_FOUND)
  target_link_libraries(engine PRIVATE PkgConfig::DBUS)
  target_compile_definitions(engine PRIVATE DOVI_DBUS=1)
endif()

include(cmake/game.cmake)

# The program. Assets and the icon live beside the executables, so the game finds them from any
# folder.
add_custom_target(assets_link ALL
  COMMAND ${CMAKE_COMMAND} -E create_symlink ${CMAKE_SOURCE_DIR}/assets ${CMAKE_BINARY_DIR}/assets
  COMMAND ${CMAKE_COMMAND} -E create_symlink ${CMAKE_SOURCE_DIR}/platform/desktop/linux/icons ${CMAKE_BINARY_DIR}/icons)
add_executable(doviveduzuz platform/desktop/main.cpp platform/desktop/CommandLine.cpp platform/desktop/Installed.cpp)
target_link_libraries(doviveduzuz PRIVATE game)
add_dependencies(doviveduzuz assets_link)

# Installing: the game, its assets, and what a desktop and a software centre look for, in the XDG
# layout. The desktop entry, the icons and the AppStream file share the application's id.
include(GNUInstallDirs)
set(DOVI_APP_ID io.github.doviveduzuz.Doviveduzuz)
set(DOVI_LINUX ${CMAKE_SOURCE_DIR}/platform/desktop/linux)
# The man page and the AppStream release list carry the version set at the top of this file.
configure_file(${DOVI_LINUX}/doviveduzuz.6.in ${CMAKE_BINARY_DIR}/doviveduzuz.6 @ONLY)
configure_file(${DOVI_LINUX}/${DOVI_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/untranslated/${DOVI_APP_ID}.metainfo.xml @ONLY)
# Both carry the translations of assets/lang, put in by gettext's msgfmt.
find_program(DOVI_MSGFMT msgfmt REQUIRED)
file(GLOB DOVI_TRANSLATIONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/lang/*.po)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${DOVI_APP_ID}.desktop ${CMAKE_BINARY_DIR}/${DOVI_APP_ID}.metainfo.xml
  COMMAND ${CMAKE_SOURCE_DIR}/tools/lang/translate_desktop.sh ${CMAKE_SOURCE_DIR}/assets/lang
    ${DOVI_LINUX}/${DOVI_APP_ID}.desktop ${CMAKE_BINARY_DIR}/untranslated/${DOVI_APP_ID}.metainfo.xml ${CMAKE_BINARY_DIR}
  DEPENDS ${DOVI_TRANSLATIONS} ${DOVI_LINUX}/${DOVI_APP_ID}.desktop
    ${CMAKE_BINARY_DIR}/untranslated/${DOVI_APP_ID}.metainfo.xml ${CMAKE_SOURCE_DIR}/tools/lang/translate_desktop.sh
  VERBATIM)
add_custom_target(translated_desktop ALL
  DEPENDS ${CMAKE_BINARY_DIR}/${DOVI_APP_ID}.desktop ${CMAKE_BINARY_DIR}/${DOVI_APP_ID}.metainfo.xml)
# Debian keeps man pages and changelogs gzipped without a time stamp, so the package is reproducible.
foreach(doc ${CMAKE_BINARY_DIR}/doviveduzuz.6 ${DOVI_LINUX}/debian/changelog)
  get_filename_component(name ${doc} NAME)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${name}.gz
    COMMAND gzip -9nc ${doc} > ${CMAKE_BINARY_DIR}/${name}.gz
    DEPENDS ${doc} VERBATIM)
  list(APPEND DOVI_ZIPPED_DOCS ${CMAKE_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(zipped_docs ALL DEPENDS ${DOVI_ZIPPED_DOCS})

install(TARGETS doviveduzuz RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The asset list is for the tests and the credits are documentation; the font's licence stays beside it.
# Apart from the save folder (share/doviveduzuz), which a player may delete to start over.
install(DIRECTORY assets/ DESTINATION ${CMAKE_INSTALL_DATADIR}/games/doviveduzuz
  PATTERN manifest.txt EXCLUDE PATTERN CREDITS.md EXCLUDE)
install(FILES ${CMAKE_BINARY_DIR}/${DOVI_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/${DOVI_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${DOVI_LINUX}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_BINARY_DIR}/doviveduzuz.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${DOVI_LINUX}/debian/copyright ${CMAKE_BINARY_DIR}/changelog.gz assets/CREDITS.md
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/doviveduzuz)

# The Debian package: doviveduzuz_VERSION_ARCH.deb, its dependencies read from the libraries the
# program links (dpkg-shlibdeps), so they are the names and versions of the Debian it is built on.
set(CPACK_PACKAGE_NAME doviveduzuz)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Doviveduzuz developers <dev@doviveduzuz.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "casual game: your plant heals dead planets")
set(CPACK_PACKAGE_DESCRIPTION "Each stage shows a row of six elements (water, light, soil, seedling,
air and carbon dioxide). Repeat the row on a ring of six element buttons before
the stage timer runs out, and the dead planet in front of your plant turns
green. Coins buy a longer timer and extra lives in the shop; progress is saved.
Play with the mouse, a touch screen, the keyboard or a gamepad.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${DOVI_LINUX}/debian/games_dir.cmake)
# The same source makes the same package: every time in it is the last commit's.
set(DOVI_SOURCE_DIR ${CMAKE_SOURCE_DIR})
configure_file(${DOVI_LINUX}/debian/source_date.cmake.in ${CMAKE_BINARY_DIR}/CPackSourceDate.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackSourceDate.cmake)
include(CPack)
