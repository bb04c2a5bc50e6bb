#!/usr/bin/env bash
# Runs a Windows program in the test prefix that wine-setup.sh prepared:
#   QM_WINE_STATE=<state folder> wine-run.sh program.exe [args...]
# CTest uses it as the emulator of the win64 build, so a Windows GoogleTest
# executable runs as an ordinary test and its exit code is the test's result.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
state=${QM_WINE_STATE:-$here/../../build/win64/wine}
if [ ! -f "$state/env" ]; then
  echo "wine-run.sh: no Wine test environment in $state (run the wine.setup test first)" >&2
  exit 2
fi
# shellcheck source=/dev/null
source "$state/env"
exec /usr/lib/wine/wine64 "$@"
