#!/usr/bin/env bash
# Builds SDL2, SDL2_image, SDL2_ttf (with freetype), SDL2_mixer and SQLite for the
# browser from Debian's own source packages, with Debian's emscripten.
#
# The result lands in a cache outside the clone, keyed on the Debian versions and on
# this script, so a fresh clone (CI) reuses it and nothing is rebuilt when nothing changed.
# Prints the prefix (include/, lib/) on its last line.
#
#   platform/web/build_libs.sh            build if missing, print the prefix
#   platform/web/build_libs.sh --prefix   print the prefix only (empty if not built)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
cache_root="${DOVI_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/doviveduzuz-web}"

export NODE_PATH=/usr/share/nodejs
export EMSDK_PYTHON=/usr/bin/python3

# Source package -> a binary package of it whose version names the source's version.
sources=(libsdl2 libsdl2-image libsdl2-ttf libsdl2-mixer freetype sqlite3)
binaries=(libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev libfreetype-dev libsqlite3-dev)

version_of() {
  apt-cache policy "$1" | awk '/Candidate:/ { print $2; exit }'
}

key_text() {
  for b in "${binaries[@]}"; do echo "$b $(version_of "$b")"; done
  dpkg-query -W -f='emscripten ${Version}\n' emscripten
  sha256sum "$here/build_libs.sh" | cut -d' ' -f1
}
key="$(key_text | sha256sum | cut -c1-16)"
prefix="$cache_root/$key"

if [ "${1:-}" = "--prefix" ]; then
  [ -f "$prefix/.done" ] && echo "$prefix"
  exit 0
fi
if [ -f "$prefix/.done" ]; then
  echo "$prefix"
  exit 0
fi

work="$cache_root/work-$key"
stage="$prefix.partial"
mkdir -p "$work" "$stage"
jobs="${DOVI_WEB_JOBS:-2}"

# A deb-src entry for the fetch only, in a private apt state: the system's sources are not touched.
fetch_sources() {
  [ -f "$work/.fetched" ] && return
  local apt="$work/apt" uri suite
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/parts" "$work/src"
  uri="$(awk '/^URIs:/ && $2 !~ /security/ { print $2; exit }' /etc/apt/sources.list.d/*.sources 2>/dev/null || true)"
  [ -n "$uri" ] || uri="$(awk '$1 == "deb" && $2 !~ /security/ { print $2; exit }' /etc/apt/sources.list 2>/dev/null || true)"
  suite="$(. /etc/os-release && echo "$VERSION_CODENAME")"
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $suite main" >"$apt/sources.list"
  local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/parts"
    -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o "Debug::NoLocking=1" -o "APT::Sandbox::User=root")
  apt-get "${opts[@]}" update -qq
  local specs=()
  for i in "${!sources[@]}"; do
    local v
    v="$(version_of "${binaries[$i]}")"
    specs+=("${sources[$i]}=${v%+b*}")
  done
  (cd "$work/src" && apt-get "${opts[@]}" source -qq "${specs[@]}")
  rm -rf "$apt"
  touch "$work/.fetched"
}

srcdir() { find "$work/src" -maxdepth 1 -mindepth 1 -type d -name "$1-[0-9]*" | head -1; }

# Runs one library's step once; a rerun after a failure resumes at the failed step.
step() {
  local name="$1"
  shift
  [ -f "$work/.$name" ] && return
  echo "== $name ($(date +%T))"
  "$@"
  touch "$work/.$name"
}

cmake_web() {
  local src="$1" build="$2"
  shift 2
  emcmake cmake -S "$src" -B "$build" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$stage" \
    -DCMAKE_FIND_ROOT_PATH="$stage" -DCMAKE_PREFIX_PATH="$stage" \
    -DSDL2_DIR="$stage/lib/cmake/SDL2" "$@" >"$build.log" 2>&1 || {
    tail -40 "$build.log"
    return 1
  }
  cmake --build "$build" -j"$jobs" >>"$build.log" 2>&1 || {
    tail -40 "$build.log"
    return 1
  }
  cmake --install "$build" >>"$build.log" 2>&1
}

build_sdl2() {
  cmake_web "$(srcdir libsdl2)" "$work/b-sdl2" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
}

build_freetype() {
  cmake_web "$(srcdir freetype)" "$work/b-freetype" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
}

build_image() {
  cmake_web "$(srcdir libsdl2-image)" "$work/b-image" -DSDL2IMAGE_BACKEND_STB=ON \
    -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_SAMPLES=OFF \
    -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_JPG=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF \
    -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_PNG=ON
}

build_ttf() {
  cmake_web "$(srcdir libsdl2-ttf)" "$work/b-ttf" -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_VENDORED=OFF \
    -DSDL2TTF_SAMPLES=OFF -Dfreetype_DIR="$stage/lib/cmake/freetype" \
    -DFREETYPE_INCLUDE_DIRS="$stage/include/freetype2" -DFREETYPE_LIBRARY="$stage/lib/libfreetype.a"
}

build_mixer() {
  cmake_web "$(srcdir libsdl2-mixer)" "$work/b-mixer" -DSDL2MIXER_VENDORED=OFF \
    -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF \
    -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF \
    -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_WAVPACK=OFF -DSDL2MIXER_WAVE=ON
  # Named apart so that emcc's -lSDL2_mixer never swaps in its download-only port.
  mv "$stage/lib/libSDL2_mixer.a" "$stage/lib/libdovi_SDL2_mixer.a"
}

build_sqlite() {
  local src b="$work/b-sqlite"
  src="$(srcdir sqlite3)"
  mkdir -p "$b"
  # The amalgamation is generated by a native configure (tclsh), then compiled for the web.
  (cd "$b" && "$src/configure" --disable-tcl >"$b.log" 2>&1 && make -j"$jobs" sqlite3.c >>"$b.log" 2>&1) || {
    tail -40 "$b.log"
    return 1
  }
  emcc -O2 -c "$b/sqlite3.c" -o "$b/sqlite3.o" -DSQLITE_THREADSAFE=0 -DSQLITE_OMIT_LOAD_EXTENSION
  emar rcs "$stage/lib/libsqlite3.a" "$b/sqlite3.o"
  mkdir -p "$stage/include"
  cp "$b/sqlite3.h" "$stage/include/"
}

fetch_sources
step sdl2 build_sdl2
step freetype build_freetype
step image build_image
step ttf build_ttf
step mixer build_mixer
step sqlite build_sqlite

touch "$stage/.done"
rm -rf "$prefix"
mv "$stage" "$prefix"
rm -rf "$work"
echo "$prefix"
