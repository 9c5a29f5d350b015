#!/usr/bin/env bash
# The display script's clean-up is total however a test ends (failing, after its program has
# ended, or killed): neither the display nor the program runs afterwards, and the scratch
# folder, which is the home and holds every XDG folder, is gone.
set -euo pipefail
here=$(realpath "$(dirname "$0")")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for ending in fails program-ended killed; do
  bash -c 'set -euo pipefail; . "$1/../../scripts/display.sh"
    start_display 320x240 || exit 3
    sleep 600 &
    app=$!
    echo "$xvfb $app $work $HOME $XDG_DATA_HOME $XDG_RUNTIME_DIR" >"$2/ran"
    case $3 in
      fails) fail "as it should" ;;
      # KILL: a TERM that comes before the program has started can be lost on the way.
      program-ended) kill -KILL "$app"; wait "$app" || true; false ;;
      killed) kill -TERM $$; sleep 5 ;;
    esac' _ "$here" "$out" "$ending" >/dev/null 2>&1 && { echo "$ending: ended well"; exit 1; }
  read -r xvfb app work home data runtime <"$out/ran"
  ! kill -0 "$xvfb" 2>/dev/null && ! kill -0 "$app" 2>/dev/null && [ ! -e "$work" ] ||
    { echo "$ending: the display, the program or $work is left"; exit 1; }
  [ "$home $data $runtime" = "$work $work/.local/share $work/runtime" ] ||
    { echo "$ending: the folders are the user's"; exit 1; }
  echo "e2e: $ending: the display and the program are gone"
done
