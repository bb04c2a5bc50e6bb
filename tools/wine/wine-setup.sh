#!/usr/bin/env bash
# Prepares the Wine test environment in a state folder: an Xvfb display of its
# own and a fresh 64-bit prefix, quiet, with Wine's menu builder off (so no
# shortcut reaches the Linux desktop) and the fonts the launcher asks for
# mapped to Debian fonts. Writes <state>/env for wine-run.sh.
#   wine-setup.sh <state folder>
set -euo pipefail
state=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$state"
state=$(cd "$state" && pwd)

"$here/wine-teardown.sh" "$state" >/dev/null 2>&1 || true
rm -rf "$state/prefix" "$state/env"

display=$("$here/start-xvfb.sh" "$state")

cat > "$state/env" <<ENV
export WINEPREFIX="$state/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
export WINESERVER=/usr/lib/wine/wineserver64
export DISPLAY=$display
export LANG=C.UTF-8
ENV
# shellcheck source=/dev/null
source "$state/env"

# No Mono or Gecko installer prompts while the prefix is made.
WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml=" /usr/lib/wine/wine64 wineboot --init
"$WINESERVER" -w

"$here/wine-fonts.sh"
"$WINESERVER" -w
# A persistent server makes every later start of a test program quick.
"$WINESERVER" -p
echo "Wine test environment ready: prefix $WINEPREFIX, display $DISPLAY"
