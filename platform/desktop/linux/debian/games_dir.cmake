# Debian keeps the programs of games in /usr/games: the package moves the game there. Its data
# is in /usr/share/games/doviveduzuz, which the game finds from its own folder's parent.
set(staged "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${staged}/games")
file(RENAME "${staged}/bin/doviveduzuz" "${staged}/games/doviveduzuz")
file(GLOB left "${staged}/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${staged}/bin")
endif()
