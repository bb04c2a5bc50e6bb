#!/usr/bin/env bash
# Builds every target and runs every test suite: the native unit tests, the
# checks of both executables, and the Windows tests under Wine and Xvfb.
# Installs what is missing first, so it passes on a new Debian machine.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
./tools/install-deps.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
for preset in native win32 win64; do
  echo "== build $preset"
  mkdir -p build
  cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 || { cat "build/configure-$preset.log"; exit 1; }
  cmake --build --preset "$preset" -j "$jobs" || exit 1
done

status=0
for preset in native win32 win64; do
  echo "== test $preset"
  # The Wine tests share one prefix and display: they run one at a time.
  ctest --preset "$preset" --timeout 900 || status=1
done
exit $status
