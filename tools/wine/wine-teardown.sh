#!/usr/bin/env bash
# Ends what wine-setup.sh started: the prefix's Wine server and the Xvfb display.
#   wine-teardown.sh <state folder>
set -uo pipefail
state=$1
if [ -f "$state/env" ]; then
  # shellcheck source=/dev/null
  source "$state/env"
  "${WINESERVER:-/usr/lib/wine/wineserver64}" -k 2>/dev/null
fi
if [ -f "$state/xvfb.pid" ]; then
  kill "$(cat "$state/xvfb.pid")" 2>/dev/null
  rm -f "$state/xvfb.pid"
fi
exit 0
