#!/usr/bin/env bash
# Starts the built launcher under Wine with the command lines of the run modes
# that end by themselves, and checks that each ends cleanly, in time. (A
# normal start shows the frame: frame_driver.exe drives that one.) (A shell's
# command line begins with the program path, so "-d"/"-u" prefixes cannot be
# produced from here; the selection itself is covered by the unit tests.)
#   start_modes.sh Quellmoor.exe
set -uo pipefail
exe=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
run="$here/../../tools/wine/wine-run.sh"
status=0
check() {
  local what=$1; shift
  local started=$SECONDS
  timeout 120 "$run" "$exe" "$@"
  local rc=$?
  if [ "$rc" -ne 0 ]; then
    echo "FAIL: $what: exit code $rc"
    status=1
  else
    echo "ok: $what ($((SECONDS - started)) s)"
  fi
}
check "child start without a window to host" -frameWnd=65812 -gameurl=http://127.0.0.1/play_gamecode -spCookie=
check "trailing -u" -u
exit $status
