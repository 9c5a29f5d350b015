# The program as a person uses it, for the end-to-end tests: real clicks, drags and keys through
# xdotool at the places the program reports (SKOREL_UI_REPORT), and checks of what the screen
# shows. Source it after scripts/display.sh; run steps with `walk`, one per line:
#
#   [ACTION ARGS...] | EXPECTATION ARGS... ; EXPECTATION ARGS...
#
# Texts are menu titles, item texts and button tooltips as the program shows them, without
# mnemonics, "..." or shortcuts; a text with spaces is written with '_' for each space.
# Canvas points are canvas pixels, at any zoom. Actions:
#   button TOOLTIP              click a toolbar button
#   menu TITLE ITEM             click a menu title, then one of its items
#   title TITLE                 click a menu title and close the menu again with Escape
#   drag X1 Y1 X2 Y2            drag on the canvas with the left button
#   click X Y                   click on the canvas
#   key KEYS...                 press keys in the main window
#   swatch INDEX [right]        click a swatch of the colour bar, with the right button if asked
#   pair line|fill              double-click a part of the colour bar's outline/fill pair
#   with KEY ACTION ARGS...     an action with a key held (shift, alt, ctrl)
#   rest SECONDS                leave the program alone for a while, as a person pauses
#   rightdrop X1 Y1 X2 Y2       drag on the canvas with the left button, click the right one
#   ctrlwheel X Y in|out        turn the wheel one step with Ctrl held, the pointer on the canvas
#                               on the way, and go on to release the left one further on
#   drop X Y FILES...           drag files from another program ($dragger, DragFiles.cpp) and
#                               drop them on the canvas point; ctrldrop: with Ctrl held
# Expectations, each waited for a while:
#   pressed TOOLTIP             the button shows pressed (darker) and is checked
#   dark X Y / white X Y        a dark pixel near the canvas point / the point is white
#   checked TITLE ITEM          the item shows a check mark in its menu (opened and closed)
#   enabled TITLE ITEM          the item can be clicked (opened and closed)
#   dialog NAME [KEYS...]       a window named NAME (a regular expression) appears; the keys,
#                               if any, are pressed in it (type:TEXT types TEXT) and it goes
#   keys NAME KEYS...           as dialog, but the window NAME stays open after the keys
#   caption REGEX               the main window's title
#   toolbar shown|hidden, statusbar shown|hidden, colorbar shown|hidden,
#   thicknessbar shown|hidden
#   colour X Y RRGGBB           the canvas point shows that colour (within a few levels)
#   pair line|fill RRGGBB       the colour bar's pair shows that outline / fill colour
#   zoom PERCENT                the view shows the canvas at that zoom
#   message REGEX               the status bar's message
#   pane TEXT / nopane TEXT     a pane of the status bar shows / does not show that text
#   file PATH [SIZE]            a file (of that size) was written
#   saved PATH X Y dark|white   a pixel of a saved picture
#   picture PATH W H            a saved picture of W × H pixels
#   smaller PATH W H            a saved picture narrower than W and lower than H
#   ends STATUS                 the program ends with that exit status
#   started                     start-up is over and no dialog shows: nothing was asked

# A 32-bit little-endian number, as drawing files hold them.
le32() {
  local v=$(( $1 & 0xFFFFFFFF ))
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' \
    $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24 & 255)))"
}

report=$work/ui.report
export SKOREL_UI_REPORT=$report
step=""

# Retries a check for up to 20 s (the sanitizer build is slow), soon at first and then every
# 0.2 s: quiet until it gives up.
eventually() {
  local pause
  for pause in 0.02 0.05 0.1 $(printf '0.2 %.0s' $(seq 100)); do
    "$@" 2>/dev/null && return 0
    sleep "$pause"
  done
  "$@"
}

# The report's line of an entry (title, item or button) with the given text.
entry() { # kind text
  awk -v kind="$1" -v want="${2//_/ }" '
    function plain(s) { sub(/\t.*/, "", s); gsub(/\(&.\)/, "", s); gsub(/&/, "", s)
                        sub(/\.\.\.$/, "", s); return s }
    $1 == kind { t = $0; n = kind == "title" ? 6 : 8
                 for (i = 0; i < n; i++) sub(/^[^ ]* /, "", t)
                 if (plain(t) == want) { print; exit } }' "$report"
}
has() { grep -q "^$1 " "$report"; }
# Whether the bar with the button of that tooltip is shown (or hidden), waited for.
button_shown() { [ -n "$(entry button "$1")" ]; }
button_hidden() { [ -z "$(entry button "$1")" ]; }
bar_is() { eventually "button_$1" "$2"; } # shown|hidden TOOLTIP
centre() { local line; line=$(entry "$1" "$2") && [ -n "$line" ] || return 1; set -- $line
  echo "$(($3 + $5 / 2)) $(($4 + $6 / 2))"; }
# Moves the pointer to a screen point and waits until it is there. xdotool's own wait would
# never end (it gives up after 15 s) when the pointer is there already: no motion comes.
pointer_to() { # X Y
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell)"
  [ "$X" = "$1" ] && [ "$Y" = "$2" ] || xdotool mousemove --sync "$1" "$2"
}
click_at() { pointer_to "$1" "$2"; xdotool click 1; }
canvas_at() { # X Y → the screen pixel under the canvas pixel's centre, at the view's zoom
  local x0 y0 z; read -r _ x0 y0 < <(grep '^canvas ' "$report")
  z=$(awk '$1 == "zoom" { print $2 }' "$report"); z=${z:-100}
  echo "$((x0 + (2 * $1 + 1) * z / 200)) $((y0 + (2 * $2 + 1) * z / 200))"; }

open_menu() {
  local at; at=$(eventually centre title "$1") || fail "$step: no menu title $1"
  click_at $at
  eventually has menu || fail "$step: menu $1 did not open"
}
close_menu() { xdotool key Escape; eventually bash -c "! grep -q '^menu ' '$report'" ||
  fail "$step: a menu stays open"; }
item_state() { # title item field(7 checked, 8 enabled)
  open_menu "$1"
  local line; line=$(eventually entry item "$2") && [ -n "$line" ] || fail "$step: no item $2"
  close_menu
  [ "$(echo "$line" | cut -d' ' -f"$3")" = 1 ]
}

# What ImageMagick reports (FORMAT) of a part of the screen, taken as it is now.
look() { # WxH+X+Y FORMAT [settings...]
  local part=$1 format=$2; shift 2
  import -window root -crop "$part" -depth 8 "$@" -format "$format" info:
}
# The darkest grey (0 … 1) in a square of the screen around a point.
darkest() { # X Y radius
  look "$((2 * $3 + 1))x$((2 * $3 + 1))+$(($1 - $3))+$(($2 - $3))" '%[fx:minima]' -colorspace gray
}
is_dark() { local v; v=$(darkest $(canvas_at "$1" "$2") 3); awk -v v="$v" 'BEGIN { exit !(v != "" && v < 0.3) }'; }
is_white() { local v; v=$(darkest $(canvas_at "$1" "$2") 0); awk -v v="$v" 'BEGIN { exit !(v > 0.99) }'; }
# A pressed button is drawn sunken: a column just inside its left edge is darker.
is_pressed() {
  local line; line=$(entry button "$1") && [ -n "$line" ] || return 1; set -- $line
  [ "$7" = 1 ] || return 1
  local v; v=$(look "1x$(($6 - 8))+$(($3 + 2))+$(($4 + 4))" '%[fx:mean]' -colorspace gray)
  awk -v v="$v" 'BEGIN { exit !(v != "" && v < 0.92) }'
}

# The colour bar's pair holds the outline colour in front (square 0), the fill behind (1).
square_of() { case $1 in line) echo 0 ;; fill) echo 1 ;; *) echo "$1" ;; esac; }
# The centre of a report line's place: a swatch (by index) or a square of the pair.
place_centre() { # kind key
  local line; line=$(grep "^$1 $2 " "$report" | head -1) && [ -n "$line" ] || return 1
  set -- $line; echo "$(($3 + $5 / 2)) $(($4 + $6 / 2))"
}
# Whether two RRGGBB colours are within a few levels of each other in every channel.
close_to() {
  local i d
  for i in 0 2 4; do
    d=$((16#${1:i:2} - 16#${2:i:2}))
    ((d >= -24 && d <= 24)) || return 1
  done
}
shows_colour() { # screen X Y, RRGGBB
  local got; got=$(look "1x1+$1+$2" '%[hex:p{0,0}]')
  close_to "${got:0:6}" "$3"
}

drag() { # X1 Y1 X2 Y2 on the canvas
  local from to; from=$(canvas_at "$1" "$2"); to=$(canvas_at "$3" "$4")
  set -- $from $to
  pointer_to "$1" "$2"
  xdotool mousedown 1
  for i in 1 2 3 4 5 6; do
    pointer_to $(($1 + ($3 - $1) * i / 6)) $(($2 + ($4 - $2) * i / 6)); sleep 0.02
  done
  xdotool mouseup 1
}

# Drags files from another program's window in the screen's bottom right corner onto the
# canvas, through the desktop's drag and drop protocol, with Ctrl held if asked.
drop_files() { # plain|ctrl X Y files...
  local ctrl=$1 w h x y; read -r x y < <(canvas_at "$2" "$3"); shift 3
  "$dragger" "$@" >"$work/drag.log" 2>&1 &
  eventually xdotool search --onlyvisible --name '^skorel-drag$' >/dev/null ||
    fail "$step: no drag source"
  read -r w h < <(xdotool getdisplaygeometry)
  pointer_to $((w - 50)) $((h - 50))
  xdotool mousedown 1 sleep 0.1
  xdotool mousemove --sync $(((w + x) / 2)) $(((h + y) / 2)) sleep 0.1 mousemove --sync "$x" "$y"
  [ "$ctrl" = plain ] || xdotool keydown ctrl
  xdotool sleep 0.1 mousemove --sync $((x + 1)) $((y + 1)) sleep 0.1 mouseup 1
  # The window asks the display for the keys held when it takes the drop, which a busy
  # machine delays: Ctrl stays down until the drag source hears that the drop is over.
  eventually grep -qx taken "$work/drag.log" || fail "$step: the drop was refused"
  [ "$ctrl" = plain ] || xdotool keyup ctrl
}

# The key presses the program has taken so far, by its report.
keys_taken() { awk '$1 == "keys" { n = $2 } END { print n + 0 }' "$report" 2>/dev/null || echo 0; }
keys_reach() { [ "$(keys_taken)" -ge "$1" ]; }
# Presses keys in a window, each once the program has taken the one before; type:TEXT types
# the text. A button's mnemonic (Alt and a letter) clicks it only after showing it pressed for
# a tenth of a second: a key after one waits that long.
keys_in() { # window keys...
  local w=$1 want; shift
  for k in "$@"; do
    want=$(keys_taken)
    xdotool windowfocus --sync "$w"
    case $k in
      type:*) xdotool type --delay 5 "${k#type:}"; want=$((want + ${#k} - 5)) ;;
      *_Lock) xdotool key "$k" ;; # the program counts no modifier or lock key
      *) xdotool key "$k"; want=$((want + 1)) ;;
    esac
    eventually keys_reach "$want" || fail "$step: the program did not take $k"
    case $k in alt+?) sleep 0.15 ;; esac
  done
}

act() { # verb args...
  case $1 in
    button) local at; at=$(eventually centre button "$2") || fail "$step: no button $2"
            click_at $at ;;
    menu) open_menu "$2"
          local line; line=$(eventually entry item "$3") && [ -n "$line" ] || fail "$step: no item $3"
          [ "$(echo "$line" | cut -d' ' -f8)" = 1 ] || fail "$step: $3 is disabled"
          click_at $(centre item "$3")
          eventually bash -c "! grep -q '^menu ' '$report'" || fail "$step: the menu stays open" ;;
    title) open_menu "$2"; close_menu ;;
    drag) drag "$2" "$3" "$4" "$5" ;;
    click) click_at $(canvas_at "$2" "$3") ;;
    key) shift; keys_in "$window" "$@" ;;
    swatch) local at; at=$(eventually place_centre swatch "$2") || fail "$step: no swatch $2"
            pointer_to $at; xdotool click "$([ "${3:-}" = right ] && echo 3 || echo 1)" ;;
    pair) local at; at=$(eventually place_centre pair "$(square_of "$2")") || fail "$step: no pair $2"
          pointer_to $at; xdotool click --repeat 2 --delay 80 1 ;;
    ctrlwheel) local button=5; [ "$4" = in ] && button=4
               pointer_to $(canvas_at "$2" "$3"); xdotool keydown ctrl click "$button" keyup ctrl ;;
    drop) shift; drop_files plain "$@" ;;
    ctrldrop) shift; drop_files ctrl "$@" ;;
    with) local held=$2; shift 2
          xdotool keydown "$held"; act "$@"; xdotool keyup "$held" ;;
    rightdrop) local from to; from=$(canvas_at "$2" "$3"); to=$(canvas_at "$4" "$5")
               set -- $from $to
               pointer_to "$1" "$2"; xdotool mousedown 1
               pointer_to "$3" "$4"; sleep 0.05
               xdotool click 3
               pointer_to $(($3 + 20)) $(($4 + 20)); sleep 0.05
               xdotool mouseup 1 ;;
    rest) sleep "$2" ;;
    *) fail "$step: no action $1" ;;
  esac
}

expect() { # what args...
  case $1 in
    pressed) eventually is_pressed "$2" || fail "$step: button $2 does not show pressed" ;;
    dark) eventually is_dark "$2" "$3" || fail "$step: nothing drawn at ($2, $3)" ;;
    white) eventually is_white "$2" "$3" || fail "$step: not white at ($2, $3)" ;;
    checked) item_state "$2" "$3" 7 || fail "$step: $3 in $2 is not checked" ;;
    enabled) item_state "$2" "$3" 8 || fail "$step: $3 in $2 is not enabled" ;;
    dialog) local name=$2 w; shift 2
            w=$(eventually xdotool search --onlyvisible --name "$name") ||
              fail "$step: no window $name"
            w=$(echo "$w" | tail -1)
            [ $# -eq 0 ] && return 0
            keys_in "$w" "$@"
            eventually bash -c "! xdotool search --onlyvisible --name '$name' | grep -qx '$w'" ||
              fail "$step: window $name stays open" ;;
    keys) local name=$2 w; shift 2
          w=$(eventually xdotool search --onlyvisible --name "$name") ||
            fail "$step: no window $name"
          keys_in "$(echo "$w" | tail -1)" "$@" ;;
    caption) eventually bash -c "xdotool getwindowname '$window' | grep -Eq '$2'" ||
               fail "$step: title is $(xdotool getwindowname "$window"), not $2" ;;
    toolbar) bar_is "$2" "새 파일" || fail "$step: toolbar not $2" ;;
    thicknessbar) bar_is "$2" "굵기 1" || fail "$step: thickness bar not $2" ;;
    statusbar) if [ "$2" = shown ]; then eventually has status; else
                 eventually bash -c "! grep -q '^status ' '$report'"; fi || fail "$step: status bar not $2" ;;
    colorbar) if [ "$2" = shown ]; then eventually has swatch; else
                eventually bash -c "! grep -q '^swatch ' '$report'"; fi || fail "$step: colour bar not $2" ;;
    colour) eventually shows_colour $(canvas_at "$2" "$3") "$4" ||
              fail "$step: ($2, $3) does not show $4" ;;
    pair) local at; at=$(eventually place_centre pair "$(square_of "$2")") || fail "$step: no pair $2"
          eventually shows_colour $at "$3" || fail "$step: the pair's $2 is not $3" ;;
    message) eventually bash -c "grep '^status ' '$report' | cut -d' ' -f6- | grep -Eq '$2'" ||
               fail "$step: the status bar says $(grep '^status ' "$report" | cut -d' ' -f6-)" ;;
    pane) eventually grep -qx "pane $2" "$report" || fail "$step: no pane shows $2" ;;
    nopane) eventually bash -c "! grep -qx 'pane $2' '$report'" || fail "$step: a pane shows $2" ;;
    zoom) eventually grep -qx "zoom $2" "$report" ||
            fail "$step: zoom is $(awk '$1 == "zoom" { print $2 }' "$report"), not $2" ;;
    file) eventually test -f "$2" || fail "$step: $2 was not written"
          [ -z "${3:-}" ] || [ "$(stat -c %s "$2")" -eq "$3" ] ||
            fail "$step: $2 has $(stat -c %s "$2") bytes" ;;
    saved) local v; v=$(convert "$2" -crop "1x1+$3+$4" -colorspace gray -format '%[fx:mean]' info:)
           awk -v v="$v" -v want="$5" 'BEGIN { exit !(want == "dark" ? v < 0.3 : v > 0.99) }' ||
             fail "$step: ($3, $4) of $2 is not $5" ;;
    picture|smaller) eventually test -f "$2" || fail "$step: $2 was not written"
           local w h; read -r w h < <(identify -format '%w %h\n' "$2")
           if [ "$1" = picture ]; then [ "$w" = "$3" ] && [ "$h" = "$4" ]
           else [ "$w" -lt "$3" ] && [ "$h" -lt "$4" ]; fi ||
             fail "$step: $2 is $w × $h" ;;
    started) eventually bash -c "grep -qx started '$report' && ! grep -q '^modal ' '$report'" ||
               fail "$step: start-up is not over, or a dialog shows" ;;
    ends) local status=0
          for _ in $(seq 200); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
          wait "$app" || status=$?
          app=
          [ "$status" = "$2" ] || { cat "$work/skorel.log"; fail "$step: ended with status $status"; } ;;
    *) fail "$step: no expectation $1" ;;
  esac
}

# Runs the steps read from standard input.
walk() {
  local line action expectations
  while IFS= read -r line; do
    line=${line%%#*}
    [ -z "${line// /}" ] && continue
    step=$line
    action=${line%%|*}; expectations=${line#*|}
    [ "$action" = "$line" ] && expectations=
    [ -z "${action// /}" ] || act $action
    IFS=';' read -ra checks <<<"$expectations"
    for check in "${checks[@]}"; do
      [ -n "${check// /}" ] && expect $check
    done
    # A finding of the sanitizer build ends the program at once.
    [ -z "$app" ] || kill -0 "$app" 2>/dev/null || { cat "$work/skorel.log"; fail "$step: the program died"; }
  done
}
