#!/usr/bin/env bash
# The display script's clean-up is total, however a test ends: failing, after the program has
# already ended, or killed. Afterwards neither the display nor the program runs, and the
# scratch folder is gone; and the folders of the user were never touched.
set -euo pipefail
here=$(realpath "$(dirname "$0")")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for ending in fails program-ended killed; do
  bash -c '
    set -euo pipefail
    . "$1/../../scripts/display.sh"
    start_display 320x240 || exit 3
    sleep 600 &
    app=$!
    echo "$xvfb $app $work $HOME $XDG_DATA_HOME $XDG_RUNTIME_DIR" >"$2/ran"
    case $3 in
      fails) fail "as it should" ;;
      program-ended) kill "$app"; wait "$app" || true; false ;;
      killed) kill -TERM $$; sleep 5 ;;
    esac' _ "$here" "$out" "$ending" >"$out/log" 2>&1 && { cat "$out/log"; echo "$ending: ended well"; exit 1; }
  read -r xvfb app work home data runtime <"$out/ran"
  for pid in "$xvfb" "$app"; do
    ! kill -0 "$pid" 2>/dev/null || { cat "$out/log"; echo "$ending: $pid still runs"; exit 1; }
  done
  [ ! -e "$work" ] || { echo "$ending: $work is left"; exit 1; }
  [ "$home" = "$work" ] && [ "$data" = "$work/.local/share" ] && [ "$runtime" = "$work/runtime" ] ||
    { echo "$ending: the folders are the user's"; exit 1; }
  echo "e2e: $ending: the display and the program are gone"
done
