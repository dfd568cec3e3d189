#!/usr/bin/env bash
# The translations keep up with the game: the template holds every word the game, the page and
# the desktop files show; every language translates every one of them (none left fuzzy), with
# the same placeholders; the game knows every language there is a file for; and the game's font
# draws every character of every translation.
# Usage: translations_check.sh SOURCE_DIR
set -u
src="${1:?usage: translations_check.sh SOURCE_DIR}"
lang="$src/assets/lang"
status=0
fail() { echo "FAIL: $*"; status=1; }
for tool in xgettext msgcat msgcmp msgfmt; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool missing (install gettext)"; exit 77; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 "$src/tools/lang/make_pot.py" "$src" "$work/fresh.pot" || fail "the template cannot be made"
diff -u "$lang/doviveduzuz.pot" "$work/fresh.pot" > "$work/pot.diff" ||
  { cat "$work/pot.diff"; fail "doviveduzuz.pot is stale: run tools/lang/make_pot.py . --update"; }

count=0
for po in "$lang"/*.po; do
  code="$(basename "$po" .po)"
  count=$((count + 1))
  # Every msgid translated (fuzzy and empty ones count as missing).
  msgcmp "$po" "$lang/doviveduzuz.pot" > "$work/cmp.log" 2>&1 || { cat "$work/cmp.log"; fail "$code: words missing"; }
  # The same %d, %s and %% as English, in every plural form; a header that says the plural rule.
  msgfmt --check --output-file=/dev/null "$po" > "$work/fmt.log" 2>&1 || { cat "$work/fmt.log"; fail "$code: not well formed"; }
  grep -q "{\"$code\", \"" "$src/game/common/Language.cpp" || fail "$code: a file the game does not offer (Language::all)"
done
[ "$count" -ge 6 ] || fail "only $count translations"

/usr/bin/python3 - "$src/assets/fonts/PixelMplus10-Regular.ttf" "$lang"/*.po <<'PY' || status=1
import re, sys
from fontTools.ttLib import TTFont
font = set(TTFont(sys.argv[1]).getBestCmap())
for path in sys.argv[2:]:
    text = open(path, encoding="utf-8").read()
    strings = "".join(re.findall(r'^(?:msgstr(?:\[\d\])? )?"((?:[^"\\]|\\.)*)"', text, re.M))
    missing = sorted({c for c in strings if c.isprintable() and ord(c) not in font})
    if missing:
        print("FAIL: %s: the game's font lacks %s" % (path, "".join(missing)))
        sys.exit(1)
PY
exit $status
