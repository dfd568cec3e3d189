#!/usr/bin/env bash
# Builds the browser version and its fill floor, then measures both in headless chromium.
#   tools/bench/web/run.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../../.."
site="$(dirname "$(platform/web/build.sh | tail -1)")/test-site"
export NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
cmake --build build-web -j2 --target bench_floor_web >&2
node tools/bench/web/web_bench.mjs "$site" build-web/floor "${1:-3}"
