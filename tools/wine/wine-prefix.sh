#!/usr/bin/env bash
# Writes <state>/env for a display and makes the 64-bit prefix <state>/prefix
# when it is not there yet: quiet, Wine's menu builder off (so no shortcut
# reaches the Linux desktop), the launcher's fonts mapped to Debian fonts.
#   wine-prefix.sh <state folder> <display>
set -euo pipefail
state=$1
display=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$state"
cat > "$state/env" <<ENV
export WINEPREFIX="$state/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
export WINESERVER=/usr/lib/wine/wineserver64
export DISPLAY=$display
ENV
# shellcheck source=/dev/null
source "$state/env"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # No Mono or Gecko installer prompts while the prefix is made.
  WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml=" /usr/lib/wine/wine64 wineboot --init
  "$WINESERVER" -w
  "$here/wine-fonts.sh"
  "$WINESERVER" -w
fi
