#!/usr/bin/env bash
# Makes the page's static folder from the built program: the page, the program, the assets in
# three downloads (the title's files first, its sounds, then the rest) with the font cut to
# what the game draws, a list of download sizes for the loading bar, and a zip of the whole folder.
# Usage: make_site.sh SOURCE_DIR PROGRAM_DIR SITE_DIR
set -euo pipefail
src="$1" program="$2" site="$3"
rm -rf "$site"
mkdir -p "$site"
cp "$src"/platform/web/page/index.html "$src"/platform/web/page/page.js "$src"/platform/web/page/page.css "$site"/
cp "$program"/doviveduzuz.js "$program"/doviveduzuz.wasm "$site"/

font=fonts/PixelMplus10-Regular.ttf
cut="$(mktemp --suffix=.ttf)"
trimmed="$(mktemp -d)"
trap 'rm -rf "$cut" "$trimmed"' EXIT
/usr/bin/python3 "$src"/tools/assets/subset_font.py "$src/assets/$font" "$cut" "$src"/game "$src"/engine \
  "$src"/assets/lang
# The page's own sentences in every language the game speaks.
/usr/bin/python3 "$src"/tools/lang/page_words.py "$src"/assets/lang "$src"/platform/web/page/page.js "$site"/words.js

title=$(grep -v '^#' "$src"/platform/web/title_files.txt)
late=$(grep -v '^#' "$src"/platform/web/late_files.txt)
rest=$(grep -v '^#' "$src"/assets/manifest.txt | grep -vxF -f <(echo "$title"; echo "$late"))
# The translations as the game reads them, without the page's and the desktop's sentences.
replace=(--replace "$font=$cut")
for po in "$src"/assets/lang/*.po; do
  /usr/bin/python3 "$src"/tools/lang/trim_po.py "$po" "$trimmed/$(basename "$po")"
  replace+=(--replace "lang/$(basename "$po")=$trimmed/$(basename "$po")")
done
# shellcheck disable=SC2086
/usr/bin/python3 "$src"/platform/web/pack_assets.py "$src"/assets "$site"/title "${replace[@]}" $title
# shellcheck disable=SC2086
/usr/bin/python3 "$src"/platform/web/pack_assets.py "$src"/assets "$site"/late $late
# Names with spaces are kept whole.
mapfile -t rest_files <<<"$rest"
/usr/bin/python3 "$src"/platform/web/pack_assets.py "$src"/assets "$site"/rest "${rest_files[@]}"

/usr/bin/python3 - "$site" <<'PY'
import json, os, sys, zipfile
site = sys.argv[1]
sizes = {name: os.path.getsize(os.path.join(site, name))
         for name in ("doviveduzuz.js", "doviveduzuz.wasm", "title.data", "late.data", "rest.data")}
with open(os.path.join(site, "site.json"), "w") as out:
    json.dump(sizes, out)
with zipfile.ZipFile(site + ".zip", "w", zipfile.ZIP_DEFLATED) as z:
    for name in sorted(os.listdir(site)):
        z.write(os.path.join(site, name), name)
PY
