#!/usr/bin/env bash
# Start-up benchmark: time to the first paint, and peak working set, of each
# form of TiqoraDesk.exe (support request, IT ticket, reply popup, feedback)
# against its own floor, a minimal dialog program (bench/startup_floor.cpp)
# built with that form's own template, and against the same program with a
# two-button dialog, all under Wine in a Wine machine of their own.
# See bench/README.md.
#
#   tools/bench-startup.sh [--runs N]     (make bench; default 36 runs each)
#
# Prints the table and saves it to BUILD/bench/startup.txt; every sample
# goes to BUILD/bench/samples.txt. BUILD is $TIQORA_BUILD, else build/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TIQORA_BUILD:-$ROOT/build}
cd "$ROOT"

bash tools/build.sh

echo "== start-up benchmark under Wine"
OUT=$BUILD/bench
mkdir -p "$OUT"

# Every floor must import the same system DLLs as the program.
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort | tr '\n' ' '; }
exe_imports=$(imports "$BUILD/win/bin/TiqoraDesk.exe")
import_note=
for floor in startup_floor startup_floor_form startup_floor_it_ticket startup_floor_reply_popup startup_floor_feedback; do
  floor_imports=$(imports "$BUILD/win/bin/$floor.exe")
  if [ "$exe_imports" != "$floor_imports" ]; then
    note="warning: $floor.exe imports [${floor_imports% }] but TiqoraDesk.exe imports [${exe_imports% }]; update bench/startup_floor.cpp"
    echo "$note" >&2
    import_note+="$note"$'\n'
  fi
done

# A virtual X server of its own unless told otherwise (TIQORA_HEADLESS=0 uses
# $DISPLAY), so figures from different machines and sessions compare.
export TIQORA_HEADLESS=${TIQORA_HEADLESS:-1}
source tools/wine-machine.sh
trap wine_machine_stop EXIT
wine_machine_start "$OUT"

rc=0
wine_run "$OUT/startup.txt" "$OUT/samples.txt" "$BUILD/win/bin/startup_bench.exe" "$@" || rc=$?
if [ $rc -ne 0 ]; then
  tail -n 5 "$OUT/samples.txt" >&2
  echo "startup_bench failed (exit code $rc)" >&2
  exit $rc
fi
{
  echo; echo "imports of TiqoraDesk.exe: ${exe_imports% }"
  if [ -z "$import_note" ]; then echo "every floor imports the same"; else printf '%s' "$import_note"; fi
} >>"$OUT/startup.txt"
cat "$OUT/startup.txt"
echo "(saved to $OUT/startup.txt; samples in $OUT/samples.txt)"
