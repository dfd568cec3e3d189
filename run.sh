#!/usr/bin/env bash
# Sets up what is missing, builds the game, and starts it.
#   ./run.sh              the desktop game
#   ./run.sh --web [PORT] the browser version, served on http://127.0.0.1:PORT (8080 by default)
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
if [ "${1:-}" = "--web" ]; then
  site="$(platform/web/build.sh | tail -1)"
  port="${2:-8080}"
  echo "Playing in the browser: open http://127.0.0.1:$port/ (Ctrl+C stops the server)"
  exec /usr/bin/python3 platform/web/serve.py "$site" "$port"
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DDOVI_TESTS=OFF
cmake --build build -j"$(nproc)" --target doviveduzuz playtest
exec ./build/doviveduzuz
