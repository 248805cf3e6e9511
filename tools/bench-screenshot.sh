#!/usr/bin/env bash
# Screenshot benchmark: click to confirmation on the IT ticket form at
# 1920x1080, and the capture and save alone, under Wine in a Wine machine of
# its own with its own Xvfb. See bench/screenshot/README.md.
#
#   tools/bench-screenshot.sh [--runs R]     (make bench-screenshot)
#
# TIQORA_BUILD names the build folder (default build/). With
# TIQORA_BENCH_AS_BUILT=1 nothing is built: the programs already in
# TIQORA_BUILD/win are measured as they are (a copy of another branch's
# build, for a figure before a change).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TIQORA_BUILD:-$ROOT/build}
cd "$ROOT"

if [ "${TIQORA_BENCH_AS_BUILT:-0}" != 1 ]; then
  bash tools/build.sh
fi

echo "== screenshot benchmark under Wine at 1920x1080"
OUT=$BUILD/bench
mkdir -p "$OUT"
export TIQORA_HEADLESS=1
export TIQORA_SCREEN=1920x1080x24
source tools/wine-machine.sh
trap wine_machine_stop EXIT
wine_machine_start "$OUT/screenshot"

rc=0
wine_run "$OUT/screenshot.txt" "$OUT/screenshot-errors.txt" "$BUILD/win/bin/screenshot_bench.exe" "$@" || rc=$?
cat "$OUT/screenshot.txt"
[ $rc -eq 0 ] || { cat "$OUT/screenshot-errors.txt" >&2; echo "screenshot_bench failed (exit code $rc)" >&2; exit $rc; }
echo "(saved to $OUT/screenshot.txt)"
