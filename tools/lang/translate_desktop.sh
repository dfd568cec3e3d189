#!/usr/bin/env bash
# Puts the translations of assets/lang into the desktop entry and the AppStream metadata, with
# gettext's msgfmt, so a desktop and a software centre show the game in the player's language.
# Usage: translate_desktop.sh LANG_DIR DESKTOP_IN METAINFO_IN OUT_DIR
set -euo pipefail
lang="$1" desktop="$2" metainfo="$3" out="$4"
work="$out/po"
rm -rf "$work"
mkdir -p "$work"
cp "$lang"/*.po "$work"/
# msgfmt takes the languages from a LINGUAS file beside the .po files.
(cd "$work" && ls -- *.po | sed 's/\.po$//') > "$work/LINGUAS"
msgfmt --desktop --template="$desktop" -d "$work" -o "$out/$(basename "$desktop")"
msgfmt --xml --template="$metainfo" -d "$work" -o "$out/$(basename "$metainfo")"
rm -rf "$work"
