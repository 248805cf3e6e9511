# A certificate authority for the tests and the demo, made afresh for each run
# (no key is ever kept in the repository); source it, then call
#   test_ca_make DIR
# which writes into DIR (PEM files, keys unencrypted):
#   root.pem                     the test authority: the test run trusts it in
#                                the Wine machine (trust_root.exe)
#   localhost.pem/.key           made out by it for localhost and 127.0.0.1
#   elsewhere.pem/.key           made out by it for elsewhere.tiqora.example
#   stranger-root.pem            another authority, never trusted
#   stranger.pem/.key            made out by that one for localhost
# Needs the openssl command.

test_ca_log() { printf '[test-ca] %s\n' "$*"; }

# test_ca_sign DIR NAME ISSUER SUBJECT_ALT_NAMES
test_ca_sign() {
  local dir=$1 name=$2 issuer=$3 names=$4
  openssl req -new -newkey rsa:2048 -nodes -subj "/CN=Tiqora Desk test server $name" \
    -keyout "$dir/$name.key" -out "$dir/$name.csr" 2>/dev/null || return 1
  printf '%s\n' "subjectAltName=$names" "basicConstraints=critical,CA:FALSE" \
    "keyUsage=critical,digitalSignature,keyEncipherment" "extendedKeyUsage=serverAuth" >"$dir/$name.ext"
  openssl x509 -req -in "$dir/$name.csr" -CA "$dir/$issuer.pem" -CAkey "$dir/$issuer.key" -CAcreateserial \
    -days 7 -sha256 -extfile "$dir/$name.ext" -out "$dir/$name.pem" 2>/dev/null || return 1
  rm -f "$dir/$name.csr" "$dir/$name.ext"
}

# test_ca_root DIR NAME COMMON_NAME
test_ca_root() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 7 -sha256 -subj "/CN=$3" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -keyout "$1/$2.key" -out "$1/$2.pem" 2>/dev/null
}

test_ca_make() {
  local dir=$1
  if ! command -v openssl >/dev/null; then
    test_ca_log "no openssl command: cannot make the test certificates"
    return 1
  fi
  rm -rf "$dir" && mkdir -p "$dir" || return 1
  local made
  made=$(date -u +%Y-%m-%dT%H:%M:%SZ)
  if ! test_ca_root "$dir" root "Tiqora Desk test authority $made" ||
     ! test_ca_sign "$dir" localhost root "DNS:localhost,IP:127.0.0.1" ||
     ! test_ca_sign "$dir" elsewhere root "DNS:elsewhere.tiqora.example" ||
     ! test_ca_root "$dir" stranger-root "Tiqora Desk untrusted test authority $made" ||
     ! test_ca_sign "$dir" stranger stranger-root "DNS:localhost,IP:127.0.0.1"; then
    test_ca_log "making the test certificates in $dir failed"
    return 1
  fi
  # The authorities' keys are needed no more once the servers' certificates
  # are made.
  rm -f "$dir/root.key" "$dir/stranger-root.key" "$dir"/*.srl
}
