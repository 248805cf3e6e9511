#!/usr/bin/env bash
# TLS benchmark: the click on Submit to the outcome message, for the support
# request and the web IT ticket, with the service's [Hosts] key plain (the
# suite's WBX.DLL) and https (the program's own post over verified TLS),
# against the local vendor services on loopback, under Wine in a Wine machine
# of its own. See bench/tls/README.md.
#
#   tools/bench-tls.sh [--runs R]     (make bench-tls)
#
# Prints the table and saves it to BUILD/bench/tls.txt; every sample goes to
# BUILD/bench/tls-samples.txt.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TIQORA_BUILD:-$ROOT/build}
cd "$ROOT"

bash tools/build.sh

echo "== TLS benchmark under Wine"
OUT=$BUILD/bench
mkdir -p "$OUT/tls"
export TIQORA_HEADLESS=${TIQORA_HEADLESS:-1}
source tools/wine-machine.sh
source tools/vendor-services.sh
trap 'vendor_services_stop; wine_machine_stop' EXIT
# A fresh prefix: each run trusts a test authority made afresh, and the root
# store the benchmark times should hold the host's roots and that one alone.
wine_machine_start "$OUT/tls" --fresh
rm -rf "$OUT/tls/vendor"
vendor_services_start "$OUT/tls/vendor"
vendor_services_trust_root "$BUILD/win/bin"

rc=0
wine_run "$OUT/tls.txt" "$OUT/tls-samples.txt" "$BUILD/win/bin/tls_bench.exe" "$@" || rc=$?
if [ $rc -ne 0 ]; then
  tail -n 5 "$OUT/tls-samples.txt" >&2
  echo "tls_bench failed (exit code $rc)" >&2
  exit $rc
fi
cat "$OUT/tls.txt"
echo "(saved to $OUT/tls.txt; samples in $OUT/tls-samples.txt)"
