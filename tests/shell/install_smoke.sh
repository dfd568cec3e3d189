#!/usr/bin/env bash
# Installs the game into a temporary prefix and starts the installed copy from another folder,
# with no display and no sound card: it must find every asset and close cleanly when told to.
# While it runs, the command-line options answer at once, with no window and no lock. Without
# its font, or with one that is not a font, the installed game says so and fails; the assets the
# variable names are the ones it uses.
#
#   tests/shell/install_smoke.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"
prefix="$(mktemp -d)"
game=""
trap '[ -n "$game" ] && kill -KILL "$game" 2> /dev/null; rm -rf "$prefix"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
cmake --install "$build" --prefix "$prefix" > /dev/null
program="$prefix/bin/doviveduzuz"
data="$prefix/share/games/doviveduzuz"
test -x "$program"
test -f "$prefix/share/applications/io.github.doviveduzuz.Doviveduzuz.desktop"
test -f "$prefix/share/icons/hicolor/256x256/apps/io.github.doviveduzuz.Doviveduzuz.png"
test -f "$data/fonts/PixelMplus10-Regular.ttf"
# The save folder is the player's to delete: nothing of the game's may be in it.
[ ! -e "$prefix/share/doviveduzuz" ] || fail "the install put files into the save folder share/doviveduzuz"
cd "$prefix"
export XDG_DATA_HOME="$prefix/data" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
"$program" 2> "$prefix/err.txt" &
game=$!
for _ in $(seq 1200); do
  [ -e "$XDG_DATA_HOME/doviveduzuz/UserDefault.db" ] && break
  sleep 0.1
done

# Options, with the game running on the same save and no display at all.
option() { env -u SDL_VIDEODRIVER -u DISPLAY -u WAYLAND_DISPLAY "$program" "$@" > "$prefix/out.txt" 2>&1; }
status=0 && option --version || status=$?
[ "$status.$(cat "$prefix/out.txt")" = "0.doviveduzuz $version" ] || fail "--version: $status, $(cat "$prefix/out.txt")"
status=0 && option --help || status=$?
[ "$status" -eq 0 ] && grep -q '^Usage: doviveduzuz \[--help | --version\]$' "$prefix/out.txt" &&
  grep -q -- '--version' "$prefix/out.txt" || fail "--help: $status, $(cat "$prefix/out.txt")"
status=0 && option --fullscreen || status=$?
[ "$status.$(head -1 "$prefix/out.txt")" = "2.doviveduzuz: unknown option '--fullscreen'" ] ||
  fail "an unknown option: $status, $(cat "$prefix/out.txt")"
# A pasted page as an argument is named by its start only.
status=0 && option "$(head -c 120000 /dev/zero | tr '\0' x)" || status=$?
[ "$status.$(head -1 "$prefix/out.txt")" = "2.doviveduzuz: unexpected argument '$(printf 'x%.0s' $(seq 60))…'" ] ||
  fail "a long argument: $status, $(head -c 300 "$prefix/out.txt")"

kill -TERM "$game"
status=0
wait "$game" || status=$?
game=""
if grep -q "cannot load" "$prefix/err.txt"; then
  cat "$prefix/err.txt"
  fail "the installed game could not find its files"
fi
[ "$status" -eq 0 ] || { cat "$prefix/err.txt"; fail "exit status $status"; }

# A start that never ends is a game that went on without what these cases take away.
start() { timeout 120 "$program" 2> "$prefix/err.txt"; }
said() { grep -q "$1" <(tr '\n' ' ' < "$prefix/err.txt"); }

# Assets named by the variable are the ones looked in: a copy without the font is refused.
cp -r "$data" "$prefix/other"
rm "$prefix/other/fonts/PixelMplus10-Regular.ttf"
status=0
DOVIVEDUZUZ_ASSETS="$prefix/other" start || status=$?
[ "$status" -eq 1 ] && said "not where it looks for them, in $prefix/other\..*fonts/PixelMplus10-Regular.ttf" ||
  fail "with DOVIVEDUZUZ_ASSETS on a copy without its font the game exited with $status and said: $(cat "$prefix/err.txt")"

# A font that is not one is said as a missing one is, and the game does not start.
cp "$data/fonts/PixelMplus10-Regular.ttf" "$prefix/font.ttf"
head -c 8192 /dev/urandom > "$data/fonts/PixelMplus10-Regular.ttf"
status=0
start || status=$?
[ "$status" -eq 1 ] && said "$data are damaged.*fonts/PixelMplus10-Regular.ttf (not a font)" ||
  fail "with a font that is not one the game exited with $status and said: $(cat "$prefix/err.txt")"

# No font: one sentence naming what is missing and where it was looked for, and a failure.
rm "$data/fonts/PixelMplus10-Regular.ttf"
status=0
"$program" 2> "$prefix/err.txt" || status=$?
[ "$status" -eq 1 ] || fail "without its font the game exited with $status"
grep -q "not where it looks for them, in $data\..*fonts/PixelMplus10-Regular.ttf" <(tr '\n' ' ' < "$prefix/err.txt") ||
  fail "without its font the game said: $(cat "$prefix/err.txt")"

[ "$failures" -eq 0 ] || exit 1
echo "installed game ran and closed cleanly, answered its options, used the assets named, and said when its font was gone or damaged"
