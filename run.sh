#!/usr/bin/env bash
# Sets up what is missing, builds the game, and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DDOVI_TESTS=OFF
cmake --build build -j"$(nproc)" --target doviveduzuz playtest
exec ./build/doviveduzuz
