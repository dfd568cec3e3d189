#!/usr/bin/env bash
# The real program's resident memory through one whole loop, driven with keys under a virtual
# X display: title (Space) -> shop (Return) -> the whole cut-scene -> a round lost at its first
# time-out (no extra life on a fresh store) -> result panel (S) -> shop. Prints the peak after
# each step. Needs xdotool; the waits are in real time, so a very slow machine may need longer.
#   tools/bench/real_loop_memory.sh [path to doviveduzuz]
set -euo pipefail
game="$(realpath "${1:-build-bench-rel/doviveduzuz}")"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$game"
fi
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
XDG_DATA_HOME="$home" "$game" 2>/dev/null &
pid=$!
window="$(xdotool search --sync --onlyvisible --pid "$pid" --name Doviveduzuz | head -1)"
peak() { awk '/VmHWM/ {printf "%.1f MB", $2 / 1024}' "/proc/$pid/status"; }
press() { xdotool key --window "$window" "$1"; }

sleep 2;  echo "title:                 $(peak)"
press space;  sleep 3;  echo "shop:                  $(peak)"
press Return; sleep 14; echo "cut-scene, round:      $(peak)"
sleep 10;               echo "round lost, result:    $(peak)"
press s;      sleep 4;  echo "shop again (peak):     $(peak)"
kill "$pid"
wait "$pid" || true
