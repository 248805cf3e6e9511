#!/usr/bin/env bash
# Resend benchmark: "/sysp" over 1,000 and 2,000 pending web tickets against
# the local vendor services on loopback, beside a floor of as many bare
# SendWebdata2 calls (bench/resend/resend_floor.cpp), under Wine in a Wine
# machine of its own. See bench/resend/README.md.
#
#   tools/bench-resend.sh [--runs R] [--files N1,N2]     (make bench-resend)
#
# Prints the table and saves it to BUILD/bench/resend.txt; every sample goes
# to BUILD/bench/resend-samples.txt.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TIQORA_BUILD:-$ROOT/build}
cd "$ROOT"

bash tools/build.sh

echo "== resend benchmark under Wine"
OUT=$BUILD/bench
mkdir -p "$OUT/resend"
source tools/wine-machine.sh
source tools/vendor-services.sh
trap 'vendor_services_stop; wine_machine_stop' EXIT
wine_machine_start "$OUT/resend"
rm -rf "$OUT/resend/vendor"
vendor_services_start "$OUT/resend/vendor"

rc=0
wine_run "$OUT/resend.txt" "$OUT/resend-samples.txt" "$BUILD/win/bin/resend_bench.exe" "$@" || rc=$?
if [ $rc -ne 0 ]; then
  tail -n 5 "$OUT/resend-samples.txt" >&2
  echo "resend_bench failed (exit code $rc)" >&2
  exit $rc
fi
cat "$OUT/resend.txt"
echo "(saved to $OUT/resend.txt; samples in $OUT/resend-samples.txt)"
