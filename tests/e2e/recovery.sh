#!/usr/bin/env bash
# End to end: a drawing with unsaved changes outlives the process that drew it. Three shapes
# are drawn, and once the recovery copy holds them the process is killed (kill -9) or its
# display ends. The next start offers the drawing; 예 brings back the three shapes, modified;
# the start after a decided exit asks nothing. A second Skorel started beside a running one
# does not offer the running one's copy, and 아니요 deletes a copy for good.
set -euo pipefail
skorel=$(realpath "$1")

here=$(dirname "$0")
. "$here/../../scripts/display.sh"
. "$here/ui.sh"

new_display() {
  rm -f "$work/displayfd"
  start_display 1024x768 || fail "$1: no display"
}
# Waits until the recovery copy holds a shape drawn from the canvas point (x, y): a record
# starts with the two as 32-bit little-endian numbers.
copy_holds() { # x y
  local pattern
  pattern=$(for v in "$1" "$2"; do
    printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24 & 255))
  done)
  eventually bash -c "LC_ALL=C grep -qaP '$pattern' \"\$XDG_DATA_HOME\"/*/Skorel/recovery/*.skrj" ||
    fail "$step: the recovery copy does not hold the shape at ($1, $2)"
}

for ending in kill display; do
  rm -rf "$work/.local"
  new_display "$ending"
  start_skorel "$skorel" || fail "$ending: no main window"
  walk <<TABLE
button 사각형               | pressed 사각형
drag 100 100 300 220        | dark 100 160
drag 400 100 600 250        | dark 400 160
drag 100 300 300 400        | dark 100 350; caption ^제목 없음\\* - Skorel$
TABLE
  copy_holds 100 300
  # The shape's bytes can show before its entry is whole; the copy promises no more than a
  # twentieth of a second lost, so an end after a few of those must keep the shape.
  sleep 0.25
  if [ "$ending" = kill ]; then
    kill -9 "$app"
  else
    kill "$xvfb"
    xvfb=
  fi
  wait "$app" || true
  app=
  [ -n "$xvfb" ] || new_display "$ending"

  start_skorel "$skorel" || fail "$ending: no main window after the end"
  walk <<TABLE
                            | dialog ^Skorel$ alt+y
                            | caption ^제목 없음\\* - Skorel$; dark 100 160; dark 400 160; dark 100 350; white 500 350
menu 파일 종료              | dialog ^Skorel$ alt+n; ends 0
TABLE

  start_skorel "$skorel" || fail "$ending: no main window at the third start"
  walk <<TABLE
                            | started; caption ^제목 없음 - Skorel$; white 100 160
menu 파일 종료              | ends 0
TABLE
  grep -q "ERROR: AddressSanitizer\|runtime error:" "$work/skorel.log" &&
    { cat "$work/skorel.log"; fail "$ending: sanitizer finding"; }
  kill "$xvfb"
  xvfb=
  echo "e2e: $ending: the drawing came back once"
done

rm -rf "$work/.local"
new_display beside
start_skorel "$skorel" || fail "beside: no first window"
walk <<TABLE
button 사각형               | pressed 사각형
drag 100 100 300 220        | dark 100 160; caption ^제목 없음\\* - Skorel$
TABLE
first=$app
copy_holds 100 100
# The second one reports to a file of its own.
SKOREL_UI_REPORT=$work/second.report "$skorel" >"$work/second.log" 2>&1 &
second=$!
eventually bash -c "[ \$(xdotool search --onlyvisible --name ' - Skorel\$' | wc -l) -ge 2 ]" ||
  fail "beside: the second Skorel shows no window"
report=$work/second.report step="a second Skorel beside the first" expect started
kill "$second"
wait "$second" || true
kill -9 "$first"
wait "$first" || true
start_skorel "$skorel" || fail "beside: no window after the first was killed"
walk <<TABLE
                            | dialog ^Skorel$ alt+n; caption ^제목 없음 - Skorel$; white 100 160
menu 파일 종료              | ends 0
TABLE
start_skorel "$skorel" || fail "beside: no window after the copy was declined"
walk <<TABLE
                            | started
TABLE
echo "e2e: a running Skorel's copy is not offered, and a declined copy is gone"
