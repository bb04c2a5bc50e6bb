#!/usr/bin/env bash
# Starts the launcher as a player would, under Wine on Linux, against the
# development portal. Installs and builds what is missing first. Without a
# display it starts Xvfb, saves a screenshot to build/run/screenshot.png and
# then stops the launcher.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
./tools/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Quellmoor webstandin

state=$PWD/build/run
mkdir -p "$state/portal"
pids=()
cleanup() {
  [ -f "$state/env" ] && { source "$state/env"; "$WINESERVER" -k 2>/dev/null || true; }
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -f "$state/xvfb.pid"
}
trap cleanup EXIT

own_display=0
if [ -z "${DISPLAY:-}" ]; then
  DISPLAY=$(./tools/wine/start-xvfb.sh "$state")
  pids+=("$(cat "$state/xvfb.pid")")
  own_display=1
fi
./tools/wine/wine-prefix.sh "$state" "$DISPLAY"
# Wine cannot render pages: the stand-in control shows them (README).
./tools/wine/register-standin.sh "$state" build/win64/webstandin/webstandin.dll
# shellcheck source=/dev/null
source "$state/env"
export QM_STANDIN_LOG="Z:${state//\//\\}\\standin.log"

# The development build's launcher page names this port (QM_LAUNCHER_PAGE).
page=$(grep -o 'http://[^"]*' build/win64/res/launcher_page.h | head -n 1)
port=$(echo "$page" | sed -E 's|http://[^:/]+:([0-9]+)/.*|\1|')
rm -f "$state/portal.port"
python3 tools/portal/portal.py --port "$port" --state-dir "$state/portal" --ready-file "$state/portal.port" \
  >"$state/portal.log" 2>&1 &
pids+=("$!")
for _ in $(seq 1 100); do [ -s "$state/portal.port" ] && break; sleep 0.1; done
[ -s "$state/portal.port" ] || { echo "The development portal did not start; see $state/portal.log" >&2; exit 1; }
echo "Development portal: $page"

/usr/lib/wine/wine64 build/win64/Quellmoor.exe &
launcher=$!
if [ "$own_display" = 1 ]; then
  # Nobody can click on a display of our own: look, then stop the launcher.
  sleep 8
  import -display "$DISPLAY" -window root "$state/screenshot.png" && echo "Screenshot: $state/screenshot.png"
  echo "No display to use: stopping the launcher after the screenshot."
  "$WINESERVER" -k 2>/dev/null || true
fi
set +e
wait "$launcher"
rc=$?
set -e
if [ "$own_display" = 1 ]; then
  echo "Quellmoor.exe stopped."
  exit 0
fi
echo "Quellmoor.exe ended with exit code $rc"
exit "$rc"
