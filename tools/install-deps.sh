#!/usr/bin/env bash
# Installs on a Debian 12 machine everything the build, the tests and the demo
# need, skipping what is already there, then builds libcurl as a static mingw
# library from Debian's curl source package (cached under the build tree).
#
#   tools/install-deps.sh [BUILD_DIR]     (default: build)
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
mkdir -p "$BUILD"
BUILD=$(cd "$BUILD" && pwd)

log() { printf '[deps] %s\n' "$*"; }

SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi

# --- Debian packages ------------------------------------------------------
PACKAGES=(
  cmake ninja-build make pkg-config
  g++ googletest libgtest-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64
  xvfb xauth
  dpkg-dev
  hyperfine
  python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

apt_updated=
apt_update() {
  if [ -z "$apt_updated" ]; then
    log "apt-get update"
    $SUDO apt-get update -qq
    apt_updated=1
  fi
}

if [ ${#missing[@]} -gt 0 ]; then
  apt_update
  log "installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  log "all Debian packages present"
fi

# --- libcurl, static, for mingw ------------------------------------------
CURL_PREFIX=$BUILD/deps/curl-mingw
if [ -f "$CURL_PREFIX/lib/libcurl.a" ] && [ -f "$CURL_PREFIX/include/curl/curl.h" ]; then
  log "libcurl for mingw cached in $CURL_PREFIX"
  exit 0
fi

# apt-get source needs a deb-src entry for the same mirror and suite.
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && \
   ! grep -qs '^deb-src ' /etc/apt/sources.list; then
  mirror=$(grep -h '^URIs:' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1 | awk '{print $2}')
  mirror=${mirror:-http://deb.debian.org/debian}
  log "adding deb-src entry for $mirror"
  $SUDO tee /etc/apt/sources.list.d/tiqora-deb-src.sources >/dev/null <<SRC
Types: deb-src
URIs: $mirror
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  apt_updated=
fi

SRC_DIR=$BUILD/deps/curl-src
if ! ls -d "$SRC_DIR"/curl-*/ >/dev/null 2>&1; then
  apt_update
  rm -rf "$SRC_DIR"; mkdir -p "$SRC_DIR"
  log "fetching Debian's curl source"
  (cd "$SRC_DIR" && apt-get source -qq --download-only curl >"$BUILD/deps/curl-fetch.log" 2>&1 && \
     dpkg-source -x "$(ls curl_*.dsc | head -n1)" >>"$BUILD/deps/curl-fetch.log" 2>&1)
fi
CURL_SRC=$(ls -d "$SRC_DIR"/curl-*/ | head -n1)

log "building libcurl (HTTP only, no TLS) for x86_64-w64-mingw32"
cat > "$BUILD/deps/mingw-curl-toolchain.cmake" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
TC
rm -rf "$BUILD/deps/curl-build"
cmake -S "$CURL_SRC" -B "$BUILD/deps/curl-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$BUILD/deps/mingw-curl-toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$CURL_PREFIX" \
  -DBUILD_SHARED_LIBS=OFF -DHTTP_ONLY=ON -DCURL_USE_OPENSSL=OFF -DCURL_ZLIB=OFF \
  -DUSE_LIBIDN2=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBPSL=OFF -DCURL_BROTLI=OFF \
  -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DCURL_DISABLE_LDAP=ON -DENABLE_MANUAL=OFF \
  -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF >"$BUILD/deps/curl-configure.log" 2>&1
cmake --build "$BUILD/deps/curl-build" >"$BUILD/deps/curl-build.log" 2>&1
cmake --install "$BUILD/deps/curl-build" >/dev/null
log "libcurl installed in $CURL_PREFIX"
