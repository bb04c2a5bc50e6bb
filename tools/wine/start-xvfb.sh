#!/usr/bin/env bash
# Starts Xvfb on the first free display from :90 up, records its pid in
# <state>/xvfb.pid and prints the display name (":N").
#   start-xvfb.sh <state folder> [WIDTHxHEIGHT]
set -euo pipefail
state=$1
size=${2:-1280x1024}
for n in $(seq 90 160); do
  if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then continue; fi
  Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >"$state/xvfb.log" 2>&1 &
  pid=$!
  for _ in $(seq 1 100); do
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      echo "$pid" > "$state/xvfb.pid"
      echo ":$n"
      exit 0
    fi
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
done
echo "start-xvfb.sh: no free X display" >&2
exit 1
