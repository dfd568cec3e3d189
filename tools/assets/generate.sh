#!/bin/sh
# Regenerate every file under assets/ from the sources in tools/assets/.
#
#   tools/assets/generate.sh            # everything, then run the checks
#
# Pictures: art.py (SVG drawn from Python) -> rsvg-convert -> PNG.
# Icon:     art.py's application icon -> SVG and PNGs in platform/desktop/linux/icons/ (build_icons.py).
# Sounds:   synth.py (numpy chiptune synthesiser) -> WAV -> lame -> MP3.
# Font:     DotGothic16 copied from Debian's fonts-dotgothic16 package.
# The Debian packages needed are listed in DEPENDENCIES.txt.
set -eu

HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
ASSETS="$ROOT/assets"
PY=/usr/bin/python3
FONT=/usr/share/fonts/truetype/dotgothic16/DotGothic16-Regular.ttf
FONT_COPYRIGHT=/usr/share/doc/fonts-dotgothic16/copyright

missing=""
for tool in rsvg-convert lame fc-list; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
[ -x "$PY" ] || missing="$missing $PY"
[ -f "$FONT" ] || missing="$missing $FONT"
if [ -n "$missing" ]; then
    echo "generate.sh: missing:$missing (install the packages in tools/assets/DEPENDENCIES.txt)" >&2
    exit 1
fi
"$PY" -c "import numpy, PIL" || { echo "generate.sh: $PY needs numpy and PIL" >&2; exit 1; }
# text is rendered by rsvg-convert through fontconfig: make sure it finds the real font
fc-list : family | grep -q DotGothic16 || { echo "generate.sh: fontconfig does not know DotGothic16" >&2; exit 1; }

start=$(date +%s)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/doviveduzuz-assets.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM
OUT="$WORK/assets"
mkdir -p "$OUT/Music" "$OUT/fonts"

echo "pictures:"
"$PY" "$HERE/build_art.py" "$OUT"

# The ground tiles scroll side by side and, every other lap, come back 20 units apart: the strip
# repeats its first 40 columns at its right end, so the tiles overlap instead of leaving a gap.
"$PY" - "$OUT/GameScene/SpeedP.png" <<'PYEOF'
import sys
from PIL import Image
path = sys.argv[1]
strip = Image.open(path)
period = strip.width
wide = Image.new(strip.mode, (period + 40, strip.height))
wide.paste(strip, (0, 0))
wide.paste(strip.crop((0, 0, 40, strip.height)), (period, 0))
wide.save(path, optimize=False)
PYEOF

echo "icon:"
"$PY" "$HERE/build_icons.py" "$WORK/icons"

echo "sounds:"
"$PY" "$HERE/synth.py" "$WORK/wav"
# fixed encoder settings: 44.1 kHz joint stereo, constant 128 kbit/s
ls "$WORK/wav" | sed 's/\.wav$//' | tr '\n' '\0' | \
    xargs -0 -P 2 -I{} lame --quiet --noreplaygain -q 2 -b 128 --cbr -m j \
        "$WORK/wav/{}.wav" "$OUT/Music/{}.mp3"

echo "font:"
cp "$FONT" "$OUT/fonts/PixelMplus10-Regular.ttf"
{
    echo "Copyright 2020 The DotGothic16 Project Authors (https://github.com/fontworks-fonts/DotGothic16/)"
    echo
    echo "This Font Software is licensed under the SIL Open Font License, Version 1.1."
    echo "This license is copied below, and is also available with a FAQ at:"
    echo "https://openfontlicense.org"
    echo
    echo
    echo "-----------------------------------------------------------"
    echo "SIL OPEN FONT LICENSE Version 1.1 - 26 February 2007"
    echo "-----------------------------------------------------------"
    echo
    # the OFL paragraph of Debian's machine-readable copyright file
    awk '/^License: OFL-1.1/ {on=1; next}
         on && /^[^ ]/ {exit}
         on {sub(/^ /, ""); if ($0 == ".") $0 = ""; print}' "$FONT_COPYRIGHT"
} > "$OUT/fonts/OFL.txt"
echo "  fonts/PixelMplus10-Regular.ttf, fonts/OFL.txt"

# install: replace the generated files, keep the hand-written ones
cp "$ASSETS/manifest.txt" "$ASSETS/CREDITS.md" "$OUT/" 2>/dev/null || true
for dir in GameScene TitleScene UpGradeScene EventScene Music fonts; do
    rm -rf "${ASSETS:?}/$dir"
done
rm -f "$ASSETS"/*.png
cp -R "$OUT/." "$ASSETS/"
rm -rf "$ROOT/platform/desktop/linux/icons"
cp -R "$WORK/icons" "$ROOT/platform/desktop/linux/icons"

# Rows stored unfiltered: as small, and twice as quick to decode.
"$PY" "$HERE/unfilter_png.py" "$ASSETS" >/dev/null

echo "generated in $(( $(date +%s) - start ))s"
echo "checks:"
"$PY" "$HERE/check.py" "$ASSETS"
