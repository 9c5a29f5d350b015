#!/usr/bin/env bash
# The program as a desktop gets it: `cmake --install` into a scratch DESTDIR holds the program,
# its desktop entry, icons, AppStream description and drawing file type, and nothing else,
# each passing the desktop's own checkers; with the file type registered, a drawing is known
# by its signature whatever its name; `cpack -G DEB` packs the same files and depends on what
# the program needs at run time.
set -euo pipefail
build=$(realpath "$1")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "${0##*/}: $*"; exit 1; }
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
for tool in desktop-file-validate appstreamcli update-mime-database xdg-mime mimetype identify \
  cpack dpkg-deb; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup installs it)"
done

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
share=$root/usr/share
entry=$(cd "$share/applications" && ls)
id=${entry%.desktop}
sizes="16 22 24 32 48 64 128 256"
{
  echo usr/bin/skorel
  echo "usr/share/applications/$id.desktop"
  echo "usr/share/metainfo/$id.metainfo.xml"
  echo usr/share/mime/packages/skorel.xml
  echo usr/share/icons/hicolor/scalable/apps/skorel.svg
  for n in $sizes; do echo "usr/share/icons/hicolor/${n}x$n/apps/skorel.png"; done
  for n in 16 32 64; do
    echo "usr/share/icons/hicolor/${n}x$n/mimetypes/application-x-skorel-drawing.png"
  done
} | sort >"$work/expected"
(cd "$root" && find . -type f -printf '%P\n' | sort) >"$work/installed"
diff "$work/expected" "$work/installed" || fail "the install tree differs from the list above"
[ -x "$root/usr/bin/skorel" ] || fail "the program is not executable"

# Each icon is a picture of its size; the scalable one an SVG document.
while read -r file; do
  size=${file#usr/share/icons/hicolor/}
  size=${size%%x*}
  [ "$(identify -format '%m %w %h' "$root/$file")" = "PNG $size $size" ] || fail "$file is not $size²"
done < <(grep '\.png$' "$work/expected")
grep -q '<svg [^>]*viewBox=' "$share/icons/hicolor/scalable/apps/skorel.svg" ||
  fail "the scalable icon is no SVG"

# The desktop's checkers, and what the entry says.
desktop-file-validate "$share/applications/$entry" || fail "desktop-file-validate refuses $entry"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$work/appstream" 2>&1 ||
  { cat "$work/appstream"; fail "appstreamcli refuses the metainfo"; }
field() { sed -n "s/^$1=//p" "$share/applications/$entry"; }
[ "$(field Exec)" = "skorel %F" ] || fail "Exec is $(field Exec)"
[ "$(field Icon)" = skorel ] || fail "Icon is $(field Icon)"
[ "$(field 'GenericName\[ko\]')" = 그림판 ] && [ "$(field GenericName)" = "Paint program" ] ||
  fail "the generic names are $(field 'GenericName\[ko\]') and $(field GenericName)"
[ "$(field Categories)" = "Graphics;2DGraphics;RasterGraphics;" ] || fail "Categories: $(field Categories)"
[ "$(field MimeType | tr ';' '\n' | sort | xargs)" = "application/x-skorel-drawing image/bmp \
image/gif image/jpeg image/png image/tiff image/vnd.microsoft.icon image/webp" ] ||
  fail "MimeType is $(field MimeType)"
grep -q "<launchable type=\"desktop-id\">$entry</launchable>" "$share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo does not launch $entry"
grep -q '<screenshot type="default">' "$share/metainfo/$id.metainfo.xml" || fail "no screenshot"

# A drawing as the program saves it: SKRL, version 1, one rectangle, every field 32-bit
# little-endian.
le32() { printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) \
  $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"; }
{ printf SKRL; for v in 1 1 10 20 110 80 2 0 16777215 1; do le32 "$v"; done; } >"$work/drawing"
update-mime-database "$share/mime" >/dev/null 2>&1 || fail "update-mime-database fails"
filetype() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_DIRS="$share:/usr/share" xdg-mime query filetype "$1"
}
mkdir "$work/files"
for name in drawing.skr DRAWING.SKR drawing drawing.dat drawing.png; do
  cp "$work/drawing" "$work/files/$name"
  [ "$(filetype "$work/files/$name")" = application/x-skorel-drawing ] ||
    fail "a drawing named $name is $(filetype "$work/files/$name")"
done
cp "$share/icons/hicolor/16x16/apps/skorel.png" "$work/files/picture.png"
[ "$(filetype "$work/files/picture.png")" = image/png ] || fail "a PNG is no longer image/png"

# The Debian package: the same files under /usr, and what the program needs.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package") \
  >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack -G DEB fails"; }
deb=$(ls "$work/package"/skorel_*.deb) || fail "no package was made"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$work/packed"
diff "$work/expected" "$work/packed" || fail "the package holds other files than the install"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6printsupport6 qt6-image-formats-plugins \
  qt6-translations-l10n fonts-nanum; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || fail "the package does not depend on $package: $depends"
done
echo "install: every file in place and valid, drawings known by their signature, a package made"
