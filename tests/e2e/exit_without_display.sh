#!/usr/bin/env bash
# End to end: when the display server goes away under the running program, it ends with
# Qt's own exit status, not with a crash in the teardown of its windows.
set -euo pipefail
skorel=$(realpath "$1")

. "$(dirname "$0")/../../scripts/display.sh"
start_display 1024x768 || fail "no display"
start_skorel "$skorel" || fail "no main window"
sleep 0.3
kill "$xvfb"
xvfb=
status=0
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
wait "$app" || status=$?
app=
[ "$status" -lt 128 ] || { cat "$work/skorel.log"; fail "ended by signal $((status - 128))"; }
echo "e2e: the display went away and the program ended with status $status"
