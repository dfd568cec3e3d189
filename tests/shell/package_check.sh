#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks what a software centre and apt see:
# the file name, the control fields, the files, the desktop entry, the AppStream file, the icons,
# the man page and the licences, with the validators run offline; that the program is hardened;
# and that building it again makes the same bytes.
#
#   tests/shell/package_check.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build="$1"
src="$2"
version="$3"
id=io.github.doviveduzuz.Doviveduzuz

for tool in cpack dpkg dpkg-deb dpkg-query dpkg-parsechangelog desktop-file-validate appstreamcli man groff readelf; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIP: $tool is missing (./setup.sh installs it)"
    exit 77
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# A folder of its own, so the package in the build folder is left alone. The second package
# is built as the README says, after the program was rebuilt (a newer file time).
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
cp -p "$build/doviveduzuz" "$work/program" && touch "$build/doviveduzuz"
again=0
(cd "$build" && cpack -G DEB -B "$work/again") > "$work/cpack.log" 2>&1 || again=$?
touch -r "$work/program" "$build/doviveduzuz"
[ "$again" -eq 0 ] || { cat "$work/cpack.log"; echo "FAIL: cpack, a second time"; exit 1; }
arch="$(dpkg --print-architecture)"
deb="$work/out/doviveduzuz_${version}_${arch}.deb"
if [ ! -f "$deb" ]; then
  echo "FAIL: no $(basename "$deb"); cpack made:"
  ls "$work/out"
  exit 1
fi

echo "-- reproducible"
cmp "$deb" "$work/again/$(basename "$deb")" || fail "a second build of the same source made another package"

echo "-- control fields"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = doviveduzuz ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)', not $arch"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
depends="$(field Depends)"
sed -E 's/\([^)]*\)//g; s/[,|]/\n/g' <<< "$depends" | tr -d ' ' | grep -v '^$' > "$work/depends"
for lib in libc6 libstdc++6 libsdl2-2.0-0 libsdl2-image-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0 libsqlite3-0; do
  grep -qxF "$lib" "$work/depends" || fail "Depends lacks $lib: $depends"
done
# Every name must be a real package of this Debian: the build machine has each one installed.
while IFS= read -r name; do
  dpkg-query -W "$name" > /dev/null 2>&1 || fail "Depends names $name, which is no installed package"
done < "$work/depends"

echo "-- files"
dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./|/|' > "$work/list"
expected=(
  /usr/games/doviveduzuz
  /usr/share/applications/$id.desktop
  /usr/share/metainfo/$id.metainfo.xml
  /usr/share/icons/hicolor/scalable/apps/$id.svg
  /usr/share/man/man6/doviveduzuz.6.gz
  /usr/share/doc/doviveduzuz/copyright
  /usr/share/doc/doviveduzuz/changelog.gz
  /usr/share/doc/doviveduzuz/CREDITS.md
)
for size in 48 64 128 256; do
  expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
# Every asset the game loads, and the font's licence beside the font.
while IFS= read -r file; do
  expected+=("/usr/share/games/doviveduzuz/$file")
done < <(cd "$src/assets" && find . -type f ! -name manifest.txt ! -name CREDITS.md | sed 's|^\./||')
for path in "${expected[@]}"; do
  grep -qxF "$path" "$work/list" || fail "missing $path"
done
grep -v '/$' "$work/list" | grep -v '^/usr/' && fail "files outside /usr"
grep -q '^/usr/bin/' "$work/list" && fail "a game's program belongs in /usr/games, not /usr/bin"

root="$work/root"
dpkg-deb -x "$deb" "$root"
[ -x "$root/usr/games/doviveduzuz" ] || fail "the program is not executable"
[ -e "$root/usr/share/doviveduzuz" ] && fail "files in share/doviveduzuz, the name of the save folder"

echo "-- hardened"
elf="$(readelf -hldsW "$root/usr/games/doviveduzuz")"
grep -q 'Type: *DYN' <<< "$elf" || fail "the program is not position-independent"
grep -q 'GNU_RELRO' <<< "$elf" || fail "no read-only relocations"
grep -Eq 'BIND_NOW|FLAGS_1.*NOW' <<< "$elf" || fail "relocations are not bound at start"
grep -q '__stack_chk_fail' <<< "$elf" || fail "no stack protector"
grep -q '__[a-z]*_chk@' <<< "$elf" || fail "no checked (fortified) functions"

echo "-- desktop entry"
desktop="$root/usr/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
# Translated from assets/lang at build time.
grep -q '^Comment\[ja\]=' "$desktop" || fail "the desktop entry carries no translations"
grep -q 'xml:lang="ru"' "$root/usr/share/metainfo/$id.metainfo.xml" || fail "the AppStream metadata carries no translations"
key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Icon)" = "$id" ] || fail "Icon=$(key Icon), the icons are named $id"
[ -x "$root/usr/games/$(key Exec)" ] || fail "Exec=$(key Exec) is not the packaged program"
grep -q '^Categories=Game;' "$desktop" || fail "Categories do not start with Game"

echo "-- AppStream"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" > "$work/validate.log" 2>&1 ||
  { cat "$work/validate.log"; fail "appstreamcli validate"; }
appstreamcli validate-tree --no-net "$root" > "$work/tree.log" 2>&1 ||
  { cat "$work/tree.log"; fail "appstreamcli validate-tree (metainfo and desktop entry together)"; }
grep -q "<id>$id</id>" "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo id is not $id"

echo "-- icons"
for size in 48 64 128 256; do
  png="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$png" ] || continue
  # The PNG header: signature, then the IHDR chunk with width and height as 32-bit big-endian.
  read -r sig w h <<< "$(od -An -tx1 -j0 -N24 "$png" | tr -d ' \n' |
    sed -E 's/^(.{16}).{16}(.{8})(.{8})$/\1 \2 \3/')"
  [ "$sig" = 89504e470d0a1a0a ] || fail "$size: not a PNG"
  [ "$((16#$w))x$((16#$h))" = "${size}x${size}" ] || fail "$size: the picture is $((16#$w))x$((16#$h))"
done
svg="$root/usr/share/icons/hicolor/scalable/apps/$id.svg"
grep -q '<svg[^>]*viewBox=' "$svg" || fail "the scalable icon has no viewBox"
# Drawn only with shapes: the game's font is not installed where icons are shown.
grep -Eq '<text|<image' "$svg" && fail "the scalable icon uses text or an embedded picture"

echo "-- man page"
page="$root/usr/share/man/man6/doviveduzuz.6.gz"
gzip -t "$page" || fail "the man page is not gzip"
warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 > /dev/null)"
[ -z "$warnings" ] || fail "man --warnings: $warnings"
warnings="$(zcat "$page" | groff -man -ww -z 2>&1)"
[ -z "$warnings" ] || fail "groff -ww: $warnings"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS CONTROLS FILES ENVIRONMENT "\"EXIT STATUS\""; do
  zcat "$page" | grep -qx "\.SH $section" || fail "the man page has no $section"
done
zcat "$page" | grep -q 'UserDefault\.db' || fail "the man page does not say where progress is kept"

echo "-- one version everywhere"
zcat "$root/usr/share/doc/doviveduzuz/changelog.gz" > "$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] ||
  fail "the changelog's newest entry is not $version"
newest="$(grep -o '<release version="[^"]*"' "$root/usr/share/metainfo/$id.metainfo.xml" | head -1)"
[ "$newest" = "<release version=\"$version\"" ] || fail "the metainfo's newest release is $newest"
zcat "$page" | head -1 | grep -q "\"Doviveduzuz $version\"" || fail "the man page is not of version $version"
copyright="$root/usr/share/doc/doviveduzuz/copyright"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" ||
  fail "copyright is not in Debian's machine-readable form"
# Licences not among Debian's common ones are there in full.
grep -q '^ Attribution 4.0 International$' "$copyright" && grep -q 'Section 8 -- Interpretation' "$copyright" ||
  fail "copyright lacks the full text of CC BY 4.0"
grep -q 'SIL OPEN FONT LICENSE Version 1.1' "$copyright" && grep -q '^ OTHER DEALINGS IN THE FONT SOFTWARE\.$' "$copyright" ||
  fail "copyright lacks the full text of the OFL 1.1"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "$(basename "$deb"): $(grep -vc '/$' "$work/list") files; every check passed"
