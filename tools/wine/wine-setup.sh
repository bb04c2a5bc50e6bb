#!/usr/bin/env bash
# The test environment of one run: a display of its own and a fresh prefix.
# CTest runs it as the setup of the "wine" fixture.
#   wine-setup.sh <state folder> [webstandin.dll]
set -euo pipefail
state=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$state"
state=$(cd "$state" && pwd)

"$here/wine-teardown.sh" "$state" >/dev/null 2>&1 || true
rm -rf "$state/prefix" "$state/env" "$state/settings.applied"

display=$("$here/start-xvfb.sh" "$state")
"$here/wine-prefix.sh" "$state" "$display"
# shellcheck source=/dev/null
source "$state/env"
# A persistent server makes every later start of a test program quick.
"$WINESERVER" -p </dev/null >/dev/null 2>&1
# Start Wine's own services now, away from any test's output: the first
# program would otherwise start them with its output pipe, which they keep
# open, and CTest would wait for it.
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
# The stand-in browser control, when the build made one.
if [ -n "${2:-}" ]; then "$here/register-standin.sh" "$state" "$2"; fi
echo "Wine test environment ready: prefix $WINEPREFIX, display $DISPLAY"
