#!/usr/bin/env bash
# Installs the game into a temporary prefix and starts the installed copy from another folder,
# with no display and no sound card: it must find every asset and close cleanly when told to.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
test -x "$prefix/bin/doviveduzuz"
test -f "$prefix/share/applications/io.github.doviveduzuz.Doviveduzuz.desktop"
test -f "$prefix/share/icons/hicolor/256x256/apps/io.github.doviveduzuz.Doviveduzuz.png"
test -f "$prefix/share/doviveduzuz/assets/fonts/PixelMplus10-Regular.ttf"
cd "$prefix"
status=0
XDG_DATA_HOME="$prefix/data" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
  timeout --preserve-status -s TERM 3 "$prefix/bin/doviveduzuz" 2> "$prefix/err.txt" || status=$?
if grep -q "cannot load" "$prefix/err.txt"; then
  cat "$prefix/err.txt"
  echo "the installed game could not find its files"
  exit 1
fi
test "$status" -eq 0 || { cat "$prefix/err.txt"; echo "exit status $status"; exit 1; }
echo "installed game ran and closed cleanly"
