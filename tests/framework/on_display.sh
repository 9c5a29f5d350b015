#!/usr/bin/env bash
# Runs a test program on a virtual display of its own, on Qt's X11 platform.
set -euo pipefail
. "$(dirname "$0")/../../scripts/display.sh"
start_display 640x480
"$@"
