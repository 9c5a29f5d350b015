#!/usr/bin/env bash
# What a start costs as a person meets it, on a virtual display of its own: the time from the
# start of the process to its main window mapped and painted, and the resident memory a few
# seconds later, with no file, and with a 4000 × 3000 photo named on the command line as PNG
# and as JPEG. When the lightest peer, mtPaint (Debian package mtpaint), is installed, it runs
# too, interleaved run by run with Skorel, so that both meet the same load; the peer is not a
# dependency of Skorel: install it by hand to compare. With no file, a bare Qt window
# (build/bench/qt_floor: Skorel's menu titles, a toolbar and a status bar, nothing behind them)
# runs as well: what Qt, its fonts and the display's buffer hold under any program built on them.
#
#   bench/cost.sh [RUNS]     # medians of RUNS runs each (5), from the build in build/
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
clock=build/bench/window_clock
skorel=build/app/skorel
floor=build/bench/qt_floor
[ -x "$clock" ] && [ -x "$skorel" ] && [ -x "$floor" ] || { echo "cost: build first (cmake --build build)"; exit 1; }

. scripts/display.sh
start_display 1920x1080 || exit 1
export XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# A photo-like picture: a gradient with grain, 8 bits a channel.
convert -size 4000x3000 gradient:'#c04020-#2060c0' -attenuate 0.25 +noise Gaussian -blur 0x1 \
  -depth 8 "$work/photo.png"
convert "$work/photo.png" -quality 90 "$work/photo.jpg"
pixels=$((4000 * 3000))

programs=("$skorel")
command -v mtpaint >/dev/null && programs+=(mtpaint)
cases=("" "$work/photo.png" "$work/photo.jpg")

# One start: "mapped_ms painted_ms rss_kb". A first start after the display came up can fail
# to connect: such a start is tried again. A picture is waited for longer: a program may show
# its window before it has read the file.
measure() { # program file
  local quiet=400 out
  [ -n "$2" ] && quiet=1500
  for _ in 1 2 3; do
    out=$("$clock" --quiet "$quiet" --rest 3000 "$1" ${2:+"$2"} 2>/dev/null) && { echo "$out"; return 0; }
  done
  echo "- - -"
}

echo "cost: load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for p in "${programs[@]}"; do measure "$p" "" >/dev/null; done # settings and caches made once
declare -A results
for ((i = 0; i < runs; i++)); do
  for c in "${!cases[@]}"; do
    for p in "${programs[@]}"; do
      results["$p|$c"]+="$(measure "$p" "${cases[$c]}")"$'\n'
    done
  done
  results["$floor|0"]+="$(measure "$floor" "")"$'\n'
done
echo "cost: load after: $(cut -d' ' -f1-3 /proc/loadavg)"

median() { sort -n | awk '{v[NR] = $1} END {print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
column_of() { cut -d' ' -f"$2" <<<"${results[$1]}" | grep -v '^-\?$' | median; }

printf '%-9s %-6s %12s %12s %12s %14s\n' program file "mapped ms" "painted ms" "RSS MB" "B/pixel"
for p in "${programs[@]}"; do
  idle=$(column_of "$p|0" 3)
  for c in "${!cases[@]}"; do
    rss=$(column_of "$p|$c" 3)
    name=${cases[$c]##*.}
    perpixel=-
    [ "$c" -gt 0 ] && perpixel=$(awk -v a="$rss" -v b="$idle" -v n="$pixels" 'BEGIN {printf "%.2f", (a - b) * 1024 / n}')
    printf '%-9s %-6s %12s %12s %12.1f %14s\n' "${p##*/}" "${name:-none}" \
      "$(column_of "$p|$c" 1)" "$(column_of "$p|$c" 2)" "$(awk -v r="$rss" 'BEGIN {print r / 1024}')" "$perpixel"
  done
done
printf '%-9s %-6s %12s %12s %12.1f %14s\n' "${floor##*/}" none \
  "$(column_of "$floor|0" 1)" "$(column_of "$floor|0" 2)" "$(awk -v r="$(column_of "$floor|0" 3)" 'BEGIN {print r / 1024}')" -
