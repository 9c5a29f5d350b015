#!/usr/bin/env bash
# Skorels side by side, as real processes on a virtual display of their own: one started while
# another runs opens its window down and right of it, so that both show; once the first has
# ended (killed, as a crash leaves it), the next one takes its place again.
set -euo pipefail
skorel=$(realpath "$1")

here=$(dirname "$0")
. "$here/../../scripts/display.sh"
export XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
others=()
trap 'kill "${others[@]}" 2>/dev/null || true; end_all' EXIT

start_display 1600x1200 || fail "no display"

# Starts one more Skorel and sets x and y to where its main window is on the screen.
another() {
  "$skorel" >>"$work/others.log" 2>&1 &
  others+=($!)
  local w
  for _ in $(seq 200); do
    w=$(xdotool search --all --onlyvisible --pid "$!" --name ' - Skorel$' 2>/dev/null) || true
    [ -n "$w" ] && break
    sleep 0.1
  done
  [ -n "$w" ] || { cat "$work/others.log"; fail "no window of a Skorel"; }
  read -r x y < <(xdotool getwindowgeometry --shell "$w" |
    awk -F= '$1 == "X" { x = $2 } $1 == "Y" { y = $2 } END { print x, y }')
}

another; first="$x $y"
another
[ "$x $y" = "$((${first% *} + 32)) $((${first#* } + 32))" ] ||
  fail "the second window is at $x $y, the first at $first"
kill -9 "${others[0]}"
wait "${others[0]}" 2>/dev/null || true
another
[ "$x $y" = "$first" ] || fail "after the first ended, a new window is at $x $y, not $first"
grep -q "ERROR: AddressSanitizer\|runtime error:" "$work/others.log" && { cat "$work/others.log"; fail "sanitizer finding"; }
echo "e2e: a second window opens beside the first"
