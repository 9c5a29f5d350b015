#!/usr/bin/env bash
# The framework's layers keep their shape: no public header of theirs includes Qt, and what a
# layer keeps in its detail/ folder is included by that layer alone. (That each layer includes
# only the layers below it, the build already makes sure: a layer is offered only what it
# links.)
set -euo pipefail
# Only the tree is read; the home and XDG folders are the script's own all the same.
. "$(dirname "$0")/../support/own_home.sh"
cd "$(dirname "$0")/../.."
status=0
for header in framework/*/*.h; do
  if grep -Hn '#include <Q' "$header"; then
    echo "layers: $header is public and includes Qt"; status=1
  fi
done
for layer in framework/*/; do
  layer=${layer%/}
  if grep -rn --include='*.cpp' --include='*.h' "#include \"$layer/detail/" . |
     grep -v "^\./$layer/"; then
    echo "layers: $layer/detail is included from outside $layer"; status=1
  fi
done
exit $status
