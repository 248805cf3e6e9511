#!/usr/bin/env bash
# Installs what is missing, then builds both configurations:
#   build/native  the portable core and its unit tests (g++, ASan + UBSan)
#   build/win     TiqoraDesk.exe, the suite stand-ins and the Windows tests
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TIQORA_BUILD:-$ROOT/build}
cd "$ROOT"

bash tools/install-deps.sh "$BUILD"

echo "== native build"
cmake -S . -B "$BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >"$BUILD/native-configure.log"
cmake --build "$BUILD/native"

echo "== Windows build"
cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
  -DTIQORA_CURL_PREFIX="$BUILD/deps/curl-mingw" >"$BUILD/win-configure.log"
cmake --build "$BUILD/win"
