#!/usr/bin/env bash
# Request history benchmark: the history dialog opened over 20,000 records,
# its reading against one profile lookup per record, and its list's share
# against a row-by-row fill, under Wine. See bench/history/README.md.
#
#   tools/bench-history.sh [--records N] [--runs R]     (make bench-history)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TIQORA_BUILD:-$ROOT/build}
cd "$ROOT"

bash tools/build.sh

echo "== request history benchmark under Wine"
OUT=$BUILD/bench
mkdir -p "$OUT"
export TIQORA_HEADLESS=${TIQORA_HEADLESS:-1}
source tools/wine-machine.sh
trap wine_machine_stop EXIT
wine_machine_start "$OUT/history"

rc=0
wine_run "$OUT/history.txt" "$OUT/history-errors.txt" "$BUILD/win/bin/history_bench.exe" "$@" || rc=$?
cat "$OUT/history.txt"
[ $rc -eq 0 ] || { cat "$OUT/history-errors.txt" >&2; echo "history_bench failed (exit code $rc)" >&2; exit $rc; }
echo "(saved to $OUT/history.txt)"
