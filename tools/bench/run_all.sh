#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them all once, five repetitions each (the memory
# loop once), under a virtual X display. Prints the machine, then the medians; the full
# results are kept as JSON in the build folder.
#   tools/bench/run_all.sh [build folder] [extra benchmark flags...]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build-bench-rel}"
shift || true
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDOVI_BENCH=ON -DDOVI_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target bench >/dev/null

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
run=("$build/bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
     --benchmark_out="$build/bench-results.json" --benchmark_out_format=json "$@")
# The game's own log lines (a few per round) go to standard error; they are not results.
if [ -n "${DISPLAY:-}" ] || [ -n "${SDL_VIDEODRIVER:-}" ]; then
  "${run[@]}" 2>/dev/null | grep -v '_mean\|_stddev\|_cv'
else
  xvfb-run -a -s "-screen 0 1920x1080x24" "${run[@]}" 2>/dev/null | grep -v '_mean\|_stddev\|_cv'
fi
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
