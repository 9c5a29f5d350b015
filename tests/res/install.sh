#!/usr/bin/env bash
# The program as a desktop gets it: `cmake --install` into a scratch DESTDIR holds the program,
# its desktop entry, icons, AppStream description and drawing file type and nothing else, each
# passing the desktop's own checkers; with the file type registered a drawing is known by its
# signature whatever its name; `cpack -G DEB` packs the same files and depends on what the
# program needs at run time.
set -euo pipefail
build=$(realpath "$1")
. "$(dirname "$0")/../support/own_home.sh"
fail() { echo "${0##*/}: $*"; exit 1; }

root=$work/root share=$work/root/usr/share
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
entry=$(ls "$share/applications") id=${entry%.desktop}
{
  echo usr/bin/skorel
  printf 'usr/share/%s\n' "applications/$entry" "metainfo/$id.metainfo.xml" \
    mime/packages/skorel.xml icons/hicolor/scalable/apps/skorel.svg
  for n in 16 22 24 32 48 64 128 256; do
    echo "usr/share/icons/hicolor/${n}x$n/apps/skorel.png"
  done
  for n in 16 32 64; do
    echo "usr/share/icons/hicolor/${n}x$n/mimetypes/application-x-skorel-drawing.png"
  done
} | sort >"$work/expected"
(cd "$root" && find . -type f -printf '%P\n' | sort) | diff "$work/expected" - ||
  fail "the install tree is not the list above"

desktop-file-validate "$share/applications/$entry" || fail "desktop-file-validate refuses $entry"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/log" 2>&1 ||
  { cat "$work/log"; fail "appstreamcli refuses the metainfo"; }
grep -q "<launchable type=\"desktop-id\">$entry<" "$share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo does not launch $entry"
while read -r line; do
  grep -Fxq "$line" "$share/applications/$entry" || fail "the entry has no line $line"
done <<'ENTRY'
Exec=skorel %F
Icon=skorel
GenericName=Paint program
GenericName[ko]=그림판
Categories=Graphics;2DGraphics;RasterGraphics;
MimeType=application/x-skorel-drawing;image/bmp;image/png;image/jpeg;image/gif;image/tiff;image/webp;image/vnd.microsoft.icon;
ENTRY

# A drawing as the program saves it, written by hand: SKRL, version 1, one rectangle (10, 20,
# 110, 80, kind 2, black on white, 1 pixel), every number 32-bit little-endian. Under any name
# it is a drawing; a PNG stays a PNG.
printf 'SKRL\1\0\0\0\1\0\0\0\12\0\0\0\24\0\0\0n\0\0\0P\0\0\0\2\0\0\0\0\0\0\0\377\377\377\0\1\0\0\0' \
  >"$work/drawing"
update-mime-database "$share/mime" >/dev/null 2>&1 || fail "update-mime-database fails"
filetype() {
  cp "$2" "$work/$1"
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_DIRS="$share:/usr/share" \
    xdg-mime query filetype "$work/$1"
}
for name in a.skr B.SKR c c.dat c.png; do
  [ "$(filetype "$name" "$work/drawing")" = application/x-skorel-drawing ] ||
    fail "a drawing named $name is $(filetype "$name" "$work/drawing")"
done
[ "$(filetype d.png "$share/icons/hicolor/16x16/apps/skorel.png")" = image/png ] ||
  fail "a PNG is no PNG"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package") \
  >"$work/log" 2>&1 || { cat "$work/log"; fail "cpack -G DEB fails"; }
deb=$(ls "$work/package"/skorel_*.deb)
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort |
  diff "$work/expected" - || fail "the package holds other files than the install"
depends=", $(dpkg-deb -f "$deb" Depends),"
for package in libqt6widgets6 libqt6gui6 qt6-image-formats-plugins qt6-translations-l10n \
  fonts-nanum; do
  [[ $depends == *", $package"[\ ,]* ]] || fail "the package does not depend on $package"
done
echo "install: every file in place and valid, drawings known by their signature, a package made"
