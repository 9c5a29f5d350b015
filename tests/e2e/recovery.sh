#!/usr/bin/env bash
# End to end: a drawing with unsaved changes outlives the process that drew it. Three shapes
# are drawn, a second and a half passes, and the process is killed (kill -9) or its display
# ends. The next start offers the drawing; 예 brings back the three shapes, modified; the
# start after a decided exit asks nothing. A second Skorel started beside a running one does
# not offer the running one's copy, and 아니요 deletes a copy for good.
set -euo pipefail
skorel=$(realpath "$1")

here=$(dirname "$0")
. "$here/../../scripts/display.sh"
. "$here/ui.sh"

new_display() {
  rm -f "$work/displayfd"
  start_display 1024x768 || fail "$1: no display"
}
asks_nothing() { # what
  sleep 2
  if xdotool search --onlyvisible --name '^Skorel$' >/dev/null 2>&1; then fail "$1 asks"; fi
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
  sleep 1.5
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
  asks_nothing "$ending: the third start"
  walk <<TABLE
                            | caption ^제목 없음 - Skorel$; white 100 160
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
sleep 1.5
"$skorel" >"$work/second.log" 2>&1 &
second=$!
eventually bash -c "[ \$(xdotool search --onlyvisible --name ' - Skorel\$' | wc -l) -ge 2 ]" ||
  fail "beside: the second Skorel shows no window"
asks_nothing "a second Skorel beside the first"
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
asks_nothing "a start after the copy was declined"
echo "e2e: a running Skorel's copy is not offered, and a declined copy is gone"
