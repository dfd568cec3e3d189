#!/usr/bin/env bash
# Builds the browser version: the libraries (cached outside the clone), then the program and
# its static folder, build-web/site (and build-web/site.zip). Prints the folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
export NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
libs="$(platform/web/build_libs.sh | tail -1)"
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release -DDOVI_WEB_LIBS="$libs" >/dev/null
cmake --build build-web -j"${DOVI_JOBS:-$(nproc)}" >&2
echo "$PWD/build-web/site"
