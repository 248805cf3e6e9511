#!/usr/bin/env bash
# Ticket history benchmark: opening the ticket history over 10,000 LAN
# records and 10,000 Tiqora.ini keys against a floor and one profile call per
# file, under Wine. See bench/ticket_history/README.md.
#
#   tools/bench-ticket-history.sh [--records N] [--runs R]     (make bench-ticket-history)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TIQORA_BUILD:-$ROOT/build}
cd "$ROOT"

bash tools/build.sh

echo "== ticket history benchmark under Wine"
OUT=$BUILD/bench
mkdir -p "$OUT"
export TIQORA_HEADLESS=${TIQORA_HEADLESS:-1}
source tools/wine-machine.sh
trap wine_machine_stop EXIT
wine_machine_start "$OUT/ticket-history"

rc=0
wine_run "$OUT/ticket-history.txt" "$OUT/ticket-history-errors.txt" "$BUILD/win/bin/ticket_history_bench.exe" "$@" || rc=$?
cat "$OUT/ticket-history.txt"
[ $rc -eq 0 ] || { cat "$OUT/ticket-history-errors.txt" >&2; echo "ticket_history_bench failed (exit code $rc)" >&2; exit $rc; }
echo "(saved to $OUT/ticket-history.txt)"
