# The one way the end-to-end tests and scripts/screenshot start a virtual display of their own
# and the program on it. Source it: it makes a scratch folder, $work, and at exit ends the
# program ($app) and the display ($xvfb) and removes the folder.

work=$(mktemp -d)
app=
xvfb=
end_all() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap end_all EXIT
fail() { echo "${0##*/}: $*"; exit 1; }

# Starts Xvfb on a free display number (it picks one itself, never :0) with the given screen
# size, and exports DISPLAY and the environment the program runs with.
start_display() { # WxH
  local fifo=$work/displayfd
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$fifo" >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  local number
  read -r -t 20 number <"$fifo" || { echo "display: Xvfb did not start"; return 1; }
  export DISPLAY=:$number QT_QPA_PLATFORM=xcb HOME=$work XDG_CONFIG_HOME=$work/config
  for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "display: $DISPLAY does not answer"; return 1
}

wait_window() { # name pattern → window id
  local id=
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Starts the program with the given arguments and waits for its main window; sets $app and
# $window. A client started right after another one ended can fail to connect now and then:
# such a start is retried.
start_skorel() { # program [args...]
  window=
  for _ in 1 2 3; do
    "$@" >"$work/skorel.log" 2>&1 &
    app=$!
    window=$(wait_window ' - Skorel$') && return 0
    grep -q "could not connect to display" "$work/skorel.log" || { cat "$work/skorel.log"; return 1; }
    kill "$app" 2>/dev/null || true
  done
  return 1
}
