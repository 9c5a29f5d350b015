# The one way the end-to-end tests and scripts/screenshot start a virtual display of their own
# and the program on it. Source it: it makes a scratch folder, $work, which is the home and
# holds every XDG folder of everything started from then on, so that nothing touches the
# caller's files; and at exit, however the script ends, it ends the program ($app) and the
# display ($xvfb) and removes the folder.

work=$(mktemp -d)
app=
xvfb=
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/.local/share \
  XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# Asks a process to end, kills it if it does not within five seconds, and waits for it.
end_process() { # pid
  kill "$1" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$1" 2>/dev/null
  wait "$1" 2>/dev/null
  return 0
}
# The clean-up runs whole, whatever has already ended.
end_all() {
  set +e
  [ -z "$app" ] || end_process "$app"
  [ -z "$xvfb" ] || end_process "$xvfb"
  rm -rf "$work"
}
trap end_all EXIT
trap 'exit 130' INT TERM HUP
fail() { echo "${0##*/}: $*"; exit 1; }

# Starts Xvfb on a free display number (it picks one itself, never :0) with the given screen
# size, and exports DISPLAY and the platform the program runs with.
start_display() { # WxH
  local fifo=$work/displayfd
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$fifo" >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  local number
  read -r -t 20 number <"$fifo" || { echo "display: Xvfb did not start"; return 1; }
  export DISPLAY=:$number QT_QPA_PLATFORM=xcb
  for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "display: $DISPLAY does not answer"; return 1
}

wait_window() { # name pattern → window id
  local id=
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}

# Whether the program has written its first report with its canvas, when it is asked for one.
report_ready() {
  [ -z "${SKOREL_UI_REPORT:-}" ] && return 0
  for _ in $(seq 400); do grep -q '^canvas ' "$SKOREL_UI_REPORT" 2>/dev/null && return 0; sleep 0.05; done
  return 1
}

# Starts the program with the given arguments and waits for its main window and, when one is
# asked for, its report; sets $app and $window. A client started right after another one ended can fail to connect now and then:
# such a start is retried.
start_skorel() { # program [args...]
  window=
  for _ in 1 2 3; do
    # A report of the program before says nothing about this one.
    [ -z "${SKOREL_UI_REPORT:-}" ] || rm -f "$SKOREL_UI_REPORT"
    "$@" >"$work/skorel.log" 2>&1 &
    app=$!
    window=$(wait_window ' - Skorel$') && report_ready && return 0
    grep -q "could not connect to display" "$work/skorel.log" || { cat "$work/skorel.log"; return 1; }
    kill "$app" 2>/dev/null || true
  done
  return 1
}
