#!/usr/bin/env bash
# No two files of the program include each other, not even through others: a header and its
# source files count as one (document/SkorelDoc.h with SkorelDoc.cpp), and an include names
# a file by its folder ("document/SkorelDoc.h") or beside the includer ("SkorelDoc.h").
# tsort names the files of any loop it finds.
set -euo pipefail
# Only the tree is read; the home and XDG folders are the script's own all the same.
. "$(dirname "$0")/support/own_home.sh"
cd "${1:-$(dirname "$0")/..}"
folders="app view document shapes image res"
edges=$(
  for file in $(find $folders -name '*.h' -o -name '*.cpp' | sort); do
    from=${file%.*}
    sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" |
      while read -r included; do
        [[ $included == */* ]] || included=$(dirname "$file")/$included
        to=${included%.*}
        if [[ -e $included && $to != "$from" && " $folders " == *" ${to%%/*} "* ]]; then
          echo "$from $to"
        fi
      done
  done
)
[[ -n $edges ]] || { echo "includes: no includes found"; exit 1; }
if ! order=$(tsort <<<"$edges" 2>&1 >/dev/null) || [[ -n $order ]]; then
  echo "includes: program files include each other:"
  echo "$order"
  exit 1
fi
