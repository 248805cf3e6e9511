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
  fonts-dejavu-core   # the dialogs' font under Wine: the layout test's sizes are measured in it
  dpkg-dev
  hyperfine
  python3
  openssl
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
# HTTP and HTTPS only, TLS by Schannel (the operating system's own, so there
# is no TLS library to ship or patch) and no CA bundle of its own: the
# certificates are checked against the Windows certificate store. The stamp
# names these options; a libcurl built with others is built again.
CURL_PREFIX=$BUILD/deps/curl-mingw
CURL_OPTIONS=(-DBUILD_SHARED_LIBS=OFF -DHTTP_ONLY=ON -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF
  -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none -DCURL_ZLIB=OFF
  -DUSE_LIBIDN2=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBPSL=OFF -DCURL_BROTLI=OFF
  -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DCURL_DISABLE_LDAP=ON -DENABLE_MANUAL=OFF
  -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF)
CURL_STAMP="$CURL_PREFIX/built-with"
if [ -f "$CURL_PREFIX/lib/libcurl.a" ] && [ -f "$CURL_PREFIX/include/curl/curl.h" ] && \
   [ "$(cat "$CURL_STAMP" 2>/dev/null)" = "${CURL_OPTIONS[*]}" ]; then
  log "libcurl for mingw cached in $CURL_PREFIX"
  exit 0
fi

# apt-get source needs a deb-src entry for the same mirror and suites as the
# machine's own Debian entry; the mirror is taken from its apt sources, never
# named here.
debian_entry() {
  python3 - "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" <<'PY'
import glob, re, sys
codename = sys.argv[1]
def emit(uri, suites, signed):
    print(uri, ",".join(suites), signed or "-")
    sys.exit(0)
# deb822 files first, then the one-line format.
for path in sorted(glob.glob("/etc/apt/sources.list.d/*.sources")):
    for stanza in re.split(r"\n\s*\n", open(path, encoding="utf-8", errors="replace").read()):
        fields = {}
        for line in stanza.splitlines():
            if line.startswith("#") or ":" not in line: continue
            key, _, value = line.partition(":")
            fields[key.strip().lower()] = value.strip()
        suites = fields.get("suites", "").split()
        if "deb" in fields.get("types", "").split() and codename in suites and fields.get("enabled", "yes") != "no":
            emit(fields.get("uris", "").split()[0], suites, fields.get("signed-by", ""))
for path in ["/etc/apt/sources.list"] + sorted(glob.glob("/etc/apt/sources.list.d/*.list")):
    try: lines = open(path, encoding="utf-8", errors="replace").read().splitlines()
    except OSError: continue
    for line in lines:
        words = re.sub(r"\[[^]]*\]", "", line).split()
        if len(words) >= 3 and words[0] == "deb" and words[2] == codename:
            emit(words[1], [codename, codename + "-updates"], "")
sys.exit(1)
PY
}

if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && \
   ! grep -qs '^deb-src ' /etc/apt/sources.list; then
  if ! entry=$(debian_entry) || [ -z "$entry" ]; then
    log "no Debian entry in this machine's apt sources (/etc/apt/sources.list{,.d}): cannot add the"
    log "deb-src entry that 'apt-get source curl' needs; add a deb-src line for your mirror and run again"
    exit 1
  fi
  read -r mirror suites signed <<<"$entry"
  log "adding deb-src entry for $mirror (${suites//,/ })"
  {
    echo "Types: deb-src"
    echo "URIs: $mirror"
    echo "Suites: ${suites//,/ }"
    echo "Components: main"
    [ "$signed" = - ] || echo "Signed-By: $signed"
  } | $SUDO tee /etc/apt/sources.list.d/tiqora-deb-src.sources >/dev/null
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

log "building libcurl (HTTP and HTTPS over Schannel) for x86_64-w64-mingw32"
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
rm -rf "$BUILD/deps/curl-build" "$CURL_PREFIX"
cmake -S "$CURL_SRC" -B "$BUILD/deps/curl-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$BUILD/deps/mingw-curl-toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$CURL_PREFIX" \
  "${CURL_OPTIONS[@]}" >"$BUILD/deps/curl-configure.log" 2>&1
cmake --build "$BUILD/deps/curl-build" >"$BUILD/deps/curl-build.log" 2>&1
cmake --install "$BUILD/deps/curl-build" >/dev/null
echo "${CURL_OPTIONS[*]}" >"$CURL_STAMP"
log "libcurl installed in $CURL_PREFIX"
