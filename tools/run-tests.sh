#!/usr/bin/env bash
# Builds everything and runs every test: the core's unit tests natively (with
# AddressSanitizer and UBSan), then the Windows-side and end-to-end tests
# under Wine in a fresh Wine machine. Installs what is missing first.
#
#   tools/run-tests.sh            (make test)
#   TIQORA_TESTS=REGEX tools/run-tests.sh   only the Wine tests whose names match
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TIQORA_BUILD:-$ROOT/build}
cd "$ROOT"

bash tools/build.sh

echo "== native unit tests"
native_rc=0
ctest --test-dir "$BUILD/native" --output-on-failure -j2 2>&1 | tee "$BUILD/native-tests.log" || native_rc=$?
[ "${PIPESTATUS[0]}" -eq 0 ] || native_rc=1

echo "== Windows tests under Wine"
source tools/wine-machine.sh
source tools/vendor-services.sh
trap 'vendor_services_stop; wine_machine_stop' EXIT
wine_machine_start "$BUILD" --fresh
rm -rf "$BUILD/vendor"
vendor_services_start "$BUILD/vendor"
vendor_services_trust_root "$BUILD/win/bin"
win_rc=0
rm -f "$BUILD/win-tests.xml"
# Each test writes GoogleTest's own results to a file named in its command
# (tests/CMakeLists.txt); the test list says which, and old files must not
# stand in for a test that wrote none this time.
rm -rf "$BUILD/win/gtest-results"
ctest --test-dir "$BUILD/win" --show-only=json-v1 >"$BUILD/win-tests.json"
# A pattern that matches no test is a mistake, not a pass.
ctest --test-dir "$BUILD/win" --no-tests=error --output-on-failure --output-junit "$BUILD/win-tests.xml" \
  ${TIQORA_TESTS:+-R "$TIQORA_TESTS"} 2>&1 | tee "$BUILD/win-tests.log" || win_rc=$?
[ "${PIPESTATUS[0]}" -eq 0 ] || win_rc=1

# Under Wine a process now and then dies at its start: the test prints nothing,
# or Wine refuses to create one of its processes (tools/wine-test-results.py,
# which reads each test's GoogleTest results): such a test, and only such a
# test, runs once more. Any other failure fails the run. A test that passed
# only on its second run is named below with why its first run failed.
results=(python3 tools/wine-test-results.py)
mapfile -t failed_tests < <("${results[@]}" failed "$BUILD/win-tests.xml" "$BUILD/win-tests.json")
mapfile -t dead_at_start < <("${results[@]}" retry "$BUILD/win-tests.xml" "$BUILD/win-tests.json")
retried_passes=()
still_failed=$(( ${#failed_tests[@]} - ${#dead_at_start[@]} ))
for name in "${dead_at_start[@]}"; do
  first=$("${results[@]}" reason "$BUILD/win-tests.xml" "$BUILD/win-tests.json" "$name")
  if ctest --test-dir "$BUILD/win" --no-tests=error --output-on-failure -R "$("${results[@]}" regex "$name")" \
       >>"$BUILD/win-tests.log" 2>&1; then
    retried_passes+=("$name: first run $first")
  else
    still_failed=$(( still_failed + 1 ))
  fi
done
wt=$(grep -c '<testcase ' "$BUILD/win-tests.xml" 2>/dev/null || true)
if [ "${wt:-0}" -eq 0 ]; then
  # No results at all: the run did not happen, or the pattern matched nothing.
  echo "no Wine test ran${TIQORA_TESTS:+: TIQORA_TESTS='$TIQORA_TESTS' matches no test}"
  still_failed=1
  win_rc=1
elif [ ${#failed_tests[@]} -gt 0 ]; then
  win_rc=$(( still_failed > 0 ? 1 : 0 ))
fi

# One closing line for both runs.
count() { sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$1" | tail -n1; }
read -r nf nt <<<"$(count "$BUILD/native-tests.log")"
failed=$(( ${nf:-1} + still_failed ))
total=$(( ${nt:-0} + ${wt:-0} ))
echo "$(( total - failed )) passed, $failed failed"
for line in "${retried_passes[@]}"; do echo "passed only on its start-up retry: $line"; done
[ $native_rc -eq 0 ] && [ $win_rc -eq 0 ]
