#!/usr/bin/env bash
# The real window carries the game's icon and class, and remembers its size, place, and maximised
# and fullscreen states from one run to the next. The game runs on a virtual X display under a window manager (openbox) with a frame
# around the window, is moved, resized, maximised and put fullscreen there as a player would,
# closed or killed, and started again. Places are those of the window's inside.
#
#   tests/shell/remembered_window.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"

for tool in xvfb-run openbox xdotool xwininfo xprop sqlite3; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIP: $tool is missing (./setup.sh installs it)"
    exit 77
  fi
done
if [ -z "${DOVI_ON_VIRTUAL_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" env DOVI_ON_VIRTUAL_DISPLAY=1 "$0" "$@"
fi

work="$(mktemp -d)"
game=""
wm=""
cleanup() {
  [ -n "$game" ] && kill -KILL "$game" 2> /dev/null || true
  [ -n "$wm" ] && kill "$wm" 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME="$work/data" SDL_AUDIODRIVER=dummy
store="$XDG_DATA_HOME/doviveduzuz/UserDefault.db"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Openbox's own keys for closing and maximising, so that both come from the desktop.
cat > "$work/rc.xml" << 'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <keyboard>
    <keybind key="A-F4"><action name="Close"/></keybind>
    <keybind key="C-A-m"><action name="ToggleMaximize"/></keybind>
  </keyboard>
</openbox_config>
EOF
# Openbox runs its start-up command once it manages windows; a window mapped earlier may be lost.
openbox --config-file "$work/rc.xml" --startup "touch $work/wm-ready" 2> /dev/null &
wm=$!

# Runs a check again every 0.1 s until it holds, for up to two minutes of the clock: on a loaded
# machine the game and the window manager take their time, and nothing here is decided by it.
deadline=120
eventually() {
  local end=$((SECONDS + deadline))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}
eventually_for() {
  local saved=$deadline
  deadline=$1
  shift
  local status=0
  eventually "$@" || status=$?
  deadline=$saved
  return $status
}
eventually test -e "$work/wm-ready" || { echo "FAIL: openbox did not start"; exit 1; }

# The game's window as shown, looked up before each use: SDL may replace the first window it
# opens with another when it sets up drawing. xdotool gives up on a window that goes away while
# it looks.
shown() { xdotool search --onlyvisible --name '^Doviveduzuz$' 2> /dev/null | head -1; }
found() { wid="$(shown)" && [ -n "$wid" ]; }
gone() { [ -z "$(shown)" ]; }
start() {
  eventually gone || fail "the last run's window is still there"
  "$build/doviveduzuz" 2>> "$work/errors.txt" &
  game=$!
  eventually found || { echo "FAIL: no window"; cat "$work/errors.txt"; exit 1; }
}
running() { kill -0 "$game" 2> /dev/null; }
ended() { ! running; }
close() {
  found || true
  xdotool windowactivate --sync "$wid" key alt+F4
  # A close the desktop sent before the game listened is asked for again.
  local end=$((SECONDS + deadline))
  until ended || [ "$SECONDS" -ge "$end" ]; do
    eventually_for 5 ended || { found && xdotool windowactivate --sync "$wid" key alt+F4; } || true
  done
  ended || fail "the game did not close"
  kill -KILL "$game" 2> /dev/null || true
  local status=0
  wait "$game" || status=$?
  game=""
  [ "$status" -eq 0 ] || fail "the game closed with status $status"
}
kill_game() {
  { kill -KILL "$game" && wait "$game"; } 2> /dev/null || true
  game=""
}
# "x y width height" of the window's inside.
inside() {
  found || return 0
  xwininfo -id "$wid" 2> /dev/null |
    awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
         /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}'
}
inside_is() { [ "$(inside)" = "$1" ]; }
expect_inside() {
  eventually inside_is "$1" || fail "$2: the inside is at $(inside), not $1"
}
state_has() { found && xprop -id "$wid" _NET_WM_STATE 2> /dev/null | grep -q "$1"; }
stored() { sqlite3 "$store" "SELECT value FROM kv WHERE key = '$1'"; }
stored_place() { echo "$(stored windowX) $(stored windowY) $(stored windowWidth) $(stored windowHeight)"; }
stored_place_is() { [ "$(stored_place)" = "$1" ]; }
store_set() { sqlite3 "$store" "UPDATE kv SET value = $2 WHERE key = '$1'"; }

# The first run: the default size, centred.
start
expect_inside "320 180 1280 720" "first start"

# The game's own icon in every size a task bar or switcher asks for, and the desktop entry's
# name as the window's class, so that the desktop ties the two together.
# The full set arrives after the first frame.
icon_sizes() {
  found && xprop -len 1000000 -id "$wid" _NET_WM_ICON 2> /dev/null |
    sed -n 's/.*Icon (\([0-9]*\) x \([0-9]*\)).*/\1x\2/p' | sort -n | xargs
}
all_icons() { [ "$(icon_sizes)" = "16x16 24x24 32x32 48x48 64x64 128x128 256x256" ]; }
eventually all_icons || fail "the window's icon sizes are '$(icon_sizes)'"
id=io.github.doviveduzuz.Doviveduzuz
[ "$(xprop -id "$wid" WM_CLASS)" = "WM_CLASS(STRING) = \"$id\", \"$id\"" ] ||
  fail "the window's $(xprop -id "$wid" WM_CLASS)"

# Moved and resized, then killed: the place was saved as soon as the window kept still.
xdotool windowsize "$wid" 1000 600
xdotool windowmove "$wid" 150 120
size_is() { [ "$(inside | cut -d' ' -f3-)" = "1000 600" ]; }
eventually size_is || fail "the window manager did not resize the window"
moved="$(inside)"
eventually stored_place_is "$moved" || fail "the new place $moved was not saved while running: $(stored_place)"
kill_game
start
expect_inside "$moved" "start after a kill"

# Maximised: remembered, and the place it goes back to is kept. The window manager's key acts on
# the active window, so the game's must be that first.
active() { found && [ "$(xdotool getactivewindow 2> /dev/null)" = "$wid" ]; }
xdotool windowactivate --sync "$wid" 2> /dev/null || true
eventually active || fail "the game's window never became active"
xdotool key ctrl+alt+m
eventually state_has _NET_WM_STATE_MAXIMIZED_VERT || fail "the window did not maximise"
close
[ "$(stored windowMaximized)" = 1 ] || fail "maximised was not saved"
[ "$(stored_place)" = "$moved" ] || fail "maximising changed the saved place: $(stored_place)"
start
eventually state_has _NET_WM_STATE_MAXIMIZED_VERT || fail "the window did not start maximised"
xdotool windowactivate --sync "$wid" key ctrl+alt+m
expect_inside "$moved" "unmaximised after a maximised start"

# Fullscreen: remembered, and leaving it puts the window back where it was.
xdotool windowactivate --sync "$wid" key F11
eventually state_has _NET_WM_STATE_FULLSCREEN || fail "F11 did not go fullscreen"
expect_inside "0 0 1920 1080" "fullscreen"
close
[ "$(stored windowFullscreen)" = 1 ] || fail "fullscreen was not saved"
start
eventually state_has _NET_WM_STATE_FULLSCREEN || fail "the window did not start fullscreen"
expect_inside "0 0 1920 1080" "fullscreen start"
xdotool windowactivate --sync "$wid" key F11
expect_inside "$moved" "windowed after a fullscreen start"
close
[ "$(stored windowFullscreen)" = 0 ] || fail "leaving fullscreen was not saved"

# A place on a monitor that is gone: centred on the one there is, at the same size.
store_set windowX 5000
store_set windowY 3000
start
expect_inside "460 256 1000 600" "a place off every display"
close

# Larger than the display: shrunk to 90 % of the room below a title bar, keeping its shape, and centred.
store_set windowX 0
store_set windowY 0
store_set windowWidth 3000
store_set windowHeight 2000
start
expect_inside "263 91 1393 929" "a size larger than the display"
close

if [ "$failures" -gt 0 ]; then
  cat "$work/errors.txt"
  exit 1
fi
echo "the window remembered its size, place, maximised and fullscreen states"
