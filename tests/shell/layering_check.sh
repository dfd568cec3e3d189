#!/usr/bin/env bash
# The layers stay apart: the game is one code for every platform and names none of them, and
# the engine names nothing of the game it runs.
set -u
source="${1:?usage: layering_check.sh SOURCE_DIR}"
status=0

# The game reaches the window, input, sound and files only through the engine.
if grep -rnE '\bSDL|__EMSCRIPTEN__|__linux__|__unix__|_WIN32|__APPLE__|__ANDROID__' "$source/game"; then
  echo "game/ names SDL or a platform (above): that belongs in engine/ or platform/" >&2
  status=1
fi

# The game hands the engine its name, its save folder and its words.
if grep -rniE 'doviveduzuz' "$source/engine"; then
  echo "engine/ names the game (above): the game hands it over through AppIdentity or PlayerTexts" >&2
  status=1
fi
exit $status
