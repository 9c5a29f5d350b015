#!/usr/bin/env bash
# End to end: when the display server goes away under the running program, whatever dialog is
# open, the program ends with Qt's own exit status, never by a signal, and the sanitizer build
# finds nothing. Each case starts the program on a display of its own, opens its dialog as a
# person would, and ends the display.
set -euo pipefail
skorel=$(realpath "$1")

here=$(dirname "$0")
. "$here/../../scripts/display.sh"
. "$here/ui.sh"

# CASE: STEP, in the walk's form; the lines of one case run in order.
cases=$(cat <<TABLE
none:
save:         key ctrl+s                   | dialog ^다른.이름으로.저장$
save-as:      menu 파일 다른_이름으로_저장 | dialog ^다른.이름으로.저장$
open:         key ctrl+o                   | dialog ^열기$
colour:       button 선_색                 | dialog ^색.선택$
message:      key ctrl+s                   | dialog ^다른.이름으로.저장$ type:$work/a.bmp Return
message:                                   | dialog ^Skorel$
close:        drag 10 10 90 90
close:        menu 파일 종료               | dialog ^Skorel$
print-setup:  menu 파일 인쇄_설정          | dialog ^인쇄.설정$
print:        key ctrl+p                   | dialog ^인쇄$
preview:      menu 파일 인쇄_미리_보기     | dialog ^인쇄.미리.보기$
about:        menu 도움말 Skorel_정보      | dialog ^Skorel.정보$
TABLE
)

for name in $(echo "$cases" | cut -d: -f1 | uniq); do
  # Each case starts without the drawing a case before left behind.
  rm -rf "$work/displayfd" "$work/.local"
  start_display 1024x768 || fail "$name: no display"
  start_skorel "$skorel" || fail "$name: no main window"
  echo "$cases" | sed -n "s/^$name: *//p" | walk
  kill "$xvfb"
  xvfb=
  status=0
  for _ in $(seq 300); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  wait "$app" || status=$?
  app=
  if [ "$status" -ge 128 ] || grep -q "Sanitizer\|runtime error:" "$work/skorel.log"; then
    cat "$work/skorel.log"
    fail "$name: ended with status $status"
  fi
  echo "e2e: $name: the display went away and the program ended with status $status"
done
