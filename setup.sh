#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, if any are missing.
set -euo pipefail
cd "$(dirname "$0")"

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev libx11-dev libxss-dev libdbus-1-dev
  libsqlite3-dev nlohmann-json3-dev libgtest-dev libbenchmark-dev
  xvfb xauth xdotool openbox x11-utils x11-xserver-utils dbus-daemon sqlite3 i3lock util-linux
  dpkg-dev file git desktop-file-utils appstream man-db groff-base gettext
  emscripten ninja-build tcl python3 python3-fonttools chromium
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# The browser tests' driver, at the version package.json pins (no lockfile: see .npmrc). A
# machine without node gets Debian's; one that has its own node keeps it (they conflict).
if ! command -v npm >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq nodejs npm
fi
pinned="$(node -p 'require("./package.json").devDependencies["puppeteer-core"]')"
installed="$(node -p 'try { require("./node_modules/puppeteer-core/package.json").version } catch { "" }')"
if [ "$installed" != "$pinned" ]; then
  echo "Installing the browser tests' driver: puppeteer-core $pinned"
  npm install --no-package-lock --no-audit --no-fund --loglevel=error
fi
