#!/usr/bin/env bash
# Fuzzes the portable core's readers of outside input with libFuzzer (clang,
# AddressSanitizer, UBSan): every target in fuzz/targets/ runs until 10
# million executions or FUZZ_SECONDS seconds (default 600), whichever comes
# first, starting from its kept corpus in fuzz/corpus/<target>/. Inputs that
# reach new coverage are merged into the kept corpus (the test command replays
# it); a finding stops the script with the crashing input saved under
# build/fuzz/findings/.
#
#   tools/fuzz.sh                 (make fuzz)
#   FUZZ_SECONDS=60 tools/fuzz.sh (make fuzz FUZZ_SECONDS=60)
#   tools/fuzz.sh ticket_reply    only the named targets
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TIQORA_BUILD:-$ROOT/build}
SECONDS_EACH=${FUZZ_SECONDS:-600}
RUNS_EACH=10000000
cd "$ROOT"

log() { printf '[fuzz] %s\n' "$*"; }

SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
missing=()
for p in clang-14 libclang-rt-14-dev cmake ninja-build; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

log "building the fuzz programs (clang, libFuzzer, ASan, UBSan)"
cmake -S . -B "$BUILD/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIQORA_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >"$BUILD/fuzz-configure.log"
cmake --build "$BUILD/fuzz"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/targets/*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

mkdir -p "$BUILD/fuzz/findings"
status=0
for name in "${targets[@]}"; do
  program=$BUILD/fuzz/fuzz/fuzz_$name
  [ -x "$program" ] || { log "no fuzz program for $name"; status=1; continue; }
  corpus=fuzz/corpus/$name
  work=$BUILD/fuzz/work/$name
  mkdir -p "$corpus" "$work"
  log "$name: up to $RUNS_EACH executions or $SECONDS_EACH s"
  rc=0
  "$program" -max_total_time="$SECONDS_EACH" -runs="$RUNS_EACH" -max_len=25000 -print_final_stats=1 \
    -artifact_prefix="$BUILD/fuzz/findings/$name-" "$work" "$corpus" >"$BUILD/fuzz/$name.log" 2>&1 || rc=$?
  # "Done N runs in T second(s)": the executions and the time of the run.
  grep -E '^Done [0-9]+ runs|^stat::peak_rss_mb' "$BUILD/fuzz/$name.log" | sed "s/^/  /" || true
  if [ $rc -ne 0 ]; then
    log "$name: FINDING (exit code $rc), see $BUILD/fuzz/$name.log and $BUILD/fuzz/findings/"
    status=1
    continue
  fi
  # Keep only what adds coverage to the kept corpus.
  "$program" -merge=1 "$corpus" "$work" >"$BUILD/fuzz/$name-merge.log" 2>&1
  log "$name: $(ls "$corpus" | wc -l) inputs kept"
done
exit $status
