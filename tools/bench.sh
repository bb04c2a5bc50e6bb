#!/usr/bin/env bash
# Speed and size figures for one run on this machine (not a test: it prints,
# it never fails on a figure). Builds what it needs.
#   tools/bench.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
./tools/install-deps.sh >/dev/null
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done

echo "== executable sizes"
for build in win32 win64; do
  printf '%-6s Quellmoor.exe %9d bytes\n' "$build" "$(stat -c %s "build/$build/Quellmoor.exe")"
done

state=$PWD/build/bench
mkdir -p "$state"
trap 'tools/wine/wine-teardown.sh "$state" >/dev/null 2>&1 || true' EXIT
tools/wine/wine-setup.sh "$state" >/dev/null 2>&1

echo "== GetFileMd5 under Wine against md5sum, 64 MiB file (best of 5 each)"
file=$state/sample.bin
head -c $((64 * 1024 * 1024)) /dev/urandom > "$file"
cat "$file" > /dev/null  # both read from the page cache
best_md5sum=""
for _ in 1 2 3 4 5; do
  start=$(date +%s%N)
  reference=$(md5sum "$file" | cut -d' ' -f1)
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  if [ -z "$best_md5sum" ] || [ "$ms" -lt "$best_md5sum" ]; then best_md5sum=$ms; fi
done
read -r ours digest < <(QM_WINE_STATE=$state tools/wine/wine-run.sh build/win64/tests/qm_md5_bench.exe \
  "Z:${file//\//\\}" 5 | tr -d '\r')
[ "$digest" = "$reference" ] || { echo "digest mismatch: $digest vs $reference"; exit 1; }
python3 - "$best_md5sum" "$ours" <<'PY'
import sys
md5sum_ms, ours_ms = float(sys.argv[1]), float(sys.argv[2])
print(f"md5sum      {md5sum_ms:8.1f} ms")
print(f"GetFileMd5  {ours_ms:8.1f} ms")
print(f"speed ratio {md5sum_ms / max(ours_ms, 0.001):8.2f}  (md5sum time / GetFileMd5 time; 1.0 = as fast, aim >= 0.9)")
PY
