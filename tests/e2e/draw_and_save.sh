#!/usr/bin/env bash
# End to end: the real program on a virtual display of its own, driven by real X input. Draws
# a rectangle, saves it with Ctrl+S through the dialog, confirms "저장 성공" and checks the
# saved picture's pixels.
set -euo pipefail
skorel=$(realpath "$1")

. "$(dirname "$0")/../../scripts/display.sh"
for tool in Xvfb xdotool convert import; do
  command -v "$tool" >/dev/null || fail "$tool is missing"
done
start_display 1600x1200 || fail "no display"
start_skorel "$skorel" || fail "no main window"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"

# The view starts at the first white row below the toolbar.
import -window root "$work/start.png"
top=$(convert "$work/start.png" -crop "1x200+$((X + 600))+$Y" txt:- |
  awk -F'[ ,:]+' '/#FFFFFF/ && !found { print $2; found = 1 }')
[ -n "$top" ] || fail "no canvas on the screen"
vx=$X; vy=$((Y + top))

# The rectangle tool: the tenth button of the toolbar.
xdotool mousemove $((X + 270)) $((Y + 34)) click 1
sleep 0.2
xdotool mousemove $((vx + 300)) $((vy + 200)) mousedown 1
for step in 1 2 3 4 5 6 7 8; do
  xdotool mousemove $((vx + 300 - step * 25)) $((vy + 200 - step * 19)); sleep 0.03
done
xdotool mousemove $((vx + 100)) $((vy + 50)) mouseup 1
sleep 0.3

xdotool windowfocus --sync "$window" key ctrl+s
dialog=$(wait_window '저장|Save') || fail "no save dialog"
sleep 0.5
xdotool windowfocus --sync "$dialog" key ctrl+a
xdotool type --delay 10 "$work/rect.bmp"
xdotool key Return
box=$(wait_window '^Skorel$') || fail "no message after saving"
sleep 0.3
import -window "$box" "$work/box.png"
xdotool windowfocus --sync "$box" key Return
sleep 0.3

[ -f "$work/rect.bmp" ] || fail "nothing was saved"
size=$(stat -c %s "$work/rect.bmp")
[ "$size" -eq 1440054 ] || fail "saved $size bytes"
pixel() { convert "$work/rect.bmp" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
for p in "100 50" "299 120" "200 199" "100 150"; do
  read -r x y <<<"$p"
  [ "$(pixel "$x" "$y")" = "0,0,0" ] || fail "no outline at ($x, $y): $(pixel "$x" "$y")"
done
for p in "200 120" "99 120" "300 120" "790 590"; do
  read -r x y <<<"$p"
  [ "$(pixel "$x" "$y")" = "255,255,255" ] || fail "not white at ($x, $y): $(pixel "$x" "$y")"
done
echo "e2e: drew a rectangle, saved $size bytes, pixels as drawn"
