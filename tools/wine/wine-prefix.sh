#!/usr/bin/env bash
# Writes <state>/env for a display and makes the 64-bit prefix <state>/prefix
# when it is not there yet: quiet, Wine's menu builder off (so no shortcut
# reaches the Linux desktop), the settings of wine-settings.sh.
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
  rm -f "$state/settings.applied"
  # No Mono or Gecko installer prompts while the prefix is made.
  WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml=" /usr/lib/wine/wine64 wineboot --init
  "$WINESERVER" -w
fi
# The settings again whenever they changed since they were last applied.
if ! cmp -s "$here/wine-settings.sh" "$state/settings.applied"; then
  "$here/wine-settings.sh"
  "$WINESERVER" -w
  cp "$here/wine-settings.sh" "$state/settings.applied"
fi
